#pragma once

#include <QMainWindow>

// The editor's main window.
class frmCarCamera : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmCarCamera(QWidget *parent = nullptr);
};
