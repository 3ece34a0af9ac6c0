// Builds the user's guide "QMX4600GUI_OI.PDF" from the README, so the Help
// menu opens the same text a user reads in the repository. The loudness and
// DRC documents are made the same way from their own texts.
//
// Usage: make-users-guide <text.md> <output.pdf> [<title>]

#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <text.md> <output.pdf> [<title>]\n", argv[0]);
        return 2;
    }
    QFile readme(QString::fromLocal8Bit(argv[1]));
    if (!readme.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument guide;
    guide.setMarkdown(QString::fromUtf8(readme.readAll()));
    guide.setDefaultFont(QFont("DejaVu Sans", 10));

    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setTitle(argc == 4 ? QString::fromLocal8Bit(argv[3])
                           : QString("QMX4600 DAP and PWM Configuration Tool - User's Guide"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    guide.print(&pdf);
    return 0;
}
