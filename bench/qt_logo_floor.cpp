// The floor of any Qt program that makes the two logos: a QGuiApplication on the offscreen
// platform draws each default text with its shadow, centred on a 640 x 400 background, and
// writes the two pictures as BMP files into the folder given. No settings, no record file, no
// colour reduction: what a run of "vespera /AUTO" is timed against.

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

namespace {

struct TLogo {
    const char* Text;
    QColor Background;
    QColor Color;
    QColor Shadow;
    const char* FileName;
};

constexpr int kFlags = Qt::AlignHCenter | Qt::TextWordWrap;

void DrawLogo(const TLogo& Logo, const QString& Folder) {
    QImage Image(640, 400, QImage::Format_RGB32);
    Image.fill(Logo.Background);
    QPainter Painter(&Image);
    QFont Font(QStringLiteral("Arial"));
    Font.setPixelSize(24); // 18 points at 96 pixels per inch
    Painter.setFont(Font);
    const QString Text = QString::fromUtf8(Logo.Text);
    const int Height = Painter.boundingRect(QRect(20, 0, 600, 400), kFlags, Text).height();
    const int Top = (400 - Height) / 2;
    Painter.setPen(Logo.Shadow);
    Painter.drawText(QRect(22, Top + 2, 600, 398 - Top), kFlags, Text);
    Painter.setPen(Logo.Color);
    Painter.drawText(QRect(20, Top, 600, 400 - Top), kFlags, Text);
    Painter.end();
    Image.save(Folder + QLatin1Char('/') + QLatin1String(Logo.FileName), "BMP");
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication Application(argc, argv);
    const QString Folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    DrawLogo({"You can put your own text and colors here", QColor(0, 128, 128), QColor(0, 255, 0),
              QColor(0, 0, 0), "logow.bmp"},
             Folder);
    DrawLogo({"And here too. See the help file to find out how", QColor(0, 0, 0),
              QColor(255, 255, 0), QColor(128, 0, 0), "logos.bmp"},
             Folder);
    return 0;
}
