// The yardstick for Kotoban's start-up: a Qt Widgets program that shows an empty main
// window of the same outer size and does nothing else.
//
// bare_window [--text] [WIDTHxHEIGHT]
//   WIDTHxHEIGHT  the window's outer size (default: Kotoban's, a 502x320 client area below a menu bar)
//   --text        a Japanese menu bar and one line of Japanese text in the window: the least a
//                 Japanese program with a menu pays (fontconfig, a CJK font, shaping, the menu bar
//                 with the style's icons); the floor Kotoban's start-up is held to

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int width = 502;
    int height = 338;
    bool text = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--text") == 0) {
            text = true;
        } else if (std::sscanf(argv[i], "%dx%d", &width, &height) != 2) {
            std::fprintf(stderr, "usage: bare_window [--text] [WIDTHxHEIGHT]\n");
            return 2;
        }
    }
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.setFixedSize(width, height);
    if (text) {
        QMenu *file = window.menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
        file->addAction(QStringLiteral("終了(&X)"), &window, &QWidget::close);
        auto *label = new QLabel(QStringLiteral("所見の例文を選んで、文章を作ります。"), &window);
        QFont font(QStringLiteral("IPAPGothic"));
        font.setPointSizeF(9);
        label->setFont(font);
        window.setCentralWidget(label);
    }
    window.show();
    return QApplication::exec();
}
