#pragma once

#include <QMainWindow>

// The main window (placeholder until the main window is built).
class TFmain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFmain(QWidget *parent = nullptr);
};
