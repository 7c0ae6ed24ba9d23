#pragma once

#include <QWidget>

// The group list's own view: the panel under its table and search field, with one line
// 43 points above its bottom edge between the list and the search bar.
class FileListView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileListView)

public:
    static constexpr int kSearchBarHeight = 43;

    explicit FileListView(QWidget* parent = nullptr) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};
