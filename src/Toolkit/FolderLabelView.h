#pragma once

#include <QWidget>

// A stretchable label background 26 points high: a start cap 14 wide, a middle stretched
// over the rest and an end cap 14 wide ("text_bg_start", "text_bg_mid", "text_bg_end",
// dark names). The welcome screen's folder counter sits on it.
class FolderLabelView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderLabelView)

public:
    explicit FolderLabelView(QWidget* parent = nullptr) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};
