#pragma once

class QPushButton;
class QWidget;

// The flat clear button the lists lay inside their search field: the "btn_clear_search"
// picture at |iconSize|, no focus, an arrow cursor over the text field, hidden until the
// field holds text. Owned by |field| (Qt parent); the list places and connects it.
namespace ClearSearchButton {

QPushButton* create(QWidget* field, int iconSize);

} // namespace ClearSearchButton
