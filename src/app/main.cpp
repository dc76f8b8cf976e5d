#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Qelvo服装销售管理专业版"));
    label.show();
    return app.exec();
}
