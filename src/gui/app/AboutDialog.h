#pragma once

#include <QDialog>

// The About window: the program's name, title line and version.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
