// The setup program for kf.ini (placeholder until it is built).
#include <QApplication>
int main(int argc, char *argv[]) { QApplication app(argc, argv); return 0; }
