#include "WinBg.h"
#include "Main.h"
#include "MdiBackground.h"
#include "TileIcons.h"
#include "data/DataSetHelpers.h"
#include "data/DbDataSet.h"
#include "data/OpData.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/BackgroundTiling.h"
#include "shell/MainWindowData.h"
#include "shell/MessageService.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QPixmap PictureOf(const QByteArray &bytes)
{
    QPixmap picture;
    if (!bytes.isEmpty())
        picture.loadFromData(bytes);
    return picture;
}

// The bytes to store for a picture file: PNG and JPEG files as they are, anything else (bitmaps
// above all, which are large) re-encoded losslessly as PNG.
QByteArray PictureBytesOfFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("无法读取图片文件：") + path);
    const QByteArray raw = file.readAll();
    QBuffer buffer;
    buffer.setData(raw);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format().toLower();
    const QImage image = reader.read();
    if (image.isNull())
        throw AppError(QStringLiteral("不是可以识别的图片文件：") + path);
    if (format == "png" || format == "jpeg" || format == "jpg")
        return raw;
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    image.save(&out, "PNG");
    return png;
}

} // namespace

TTiledPreview::TTiledPreview(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(360, 220);
}

void TTiledPreview::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void TTiledPreview::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QList<QRect> tiles = BackgroundTileRects(size(), m_picture.deviceIndependentSize().toSize());
    if (tiles.isEmpty()) {
        p.fillRect(rect(), QColor(0xf4, 0xf6, 0xf9));
        p.setPen(QColor(0x9a, 0xa5, 0xb1));
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("（没有图片）"));
    } else {
        for (const QRect &tile : tiles)
            p.drawPixmap(tile.topLeft(), m_picture);
    }
    p.setPen(QColor(0xd9, 0xe0, 0xe8));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

TfrmWinBg::TfrmWinBg(QWidget *parent) : QDialog(parent), m_ds(std::make_unique<TDbDataSet>())
{
    setObjectName(QStringLiteral("TfrmWinBg"));
    setWindowTitle(QStringLiteral("主窗口背景设置"));

    m_ds->setCommandText(QStringLiteral("select * from winbg"));
    m_ds->setUpdateTable(QStringLiteral("winbg"), {QStringLiteral("WinBgID")});
    m_ds->onNewRecord = [](TDataSet &ds) {
        ds.fieldByName(QStringLiteral("WinBgID")).setValue(OpData().GetNextID(QStringLiteral("winbg")));
        ds.fieldByName(QStringLiteral("iFlag")).setValue(0);
    };
    m_ds->open();
    m_ds->first();

    auto *navigator = new QHBoxLayout;
    navigator->setSpacing(4);
    struct Nav {
        const char *icon;
        const char *hint;
        std::function<void()> run;
    };
    const Nav navs[] = {
        {"go-first-symbolic", "第一条", [this] { m_ds->first(); }},
        {"go-previous-symbolic", "上一条", [this] { m_ds->prior(); }},
        {"go-next-symbolic", "下一条", [this] { m_ds->next(); }},
        {"go-last-symbolic", "末一条", [this] { m_ds->last(); }},
        {"list-add-symbolic", "增加", [this] { appendPicture(); }},
        {"list-remove-symbolic", "删除", [this] { deleteCurrent(); }},
    };
    for (const Nav &n : navs) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromUtf8(n.hint));
        b->setIcon(SymbolicIcon(QString::fromLatin1(n.icon)));
        b->setToolTip(QString::fromUtf8(n.hint));
        b->setAutoRaise(true);
        b->setIconSize(QSize(18, 18));
        auto run = n.run;
        connect(b, &QToolButton::clicked, this, [this, run] {
            RunGuarded(run);
            refresh();
        });
        navigator->addWidget(b);
        m_navButtons.append(b);
    }
    navigator->addSpacing(16);
    auto *countCaption = new QLabel(QStringLiteral("图片数："), this);
    m_counter = new QLabel(this);
    m_counter->setObjectName(QStringLiteral("lblCounter"));
    navigator->addWidget(countCaption);
    navigator->addWidget(m_counter);
    navigator->addStretch(1);

    auto *sample = new QGroupBox(QStringLiteral("示例"), this);
    auto *sampleLayout = new QVBoxLayout(sample);
    m_preview = new TTiledPreview(sample);
    sampleLayout->addWidget(m_preview);

    auto button = [this](const char *caption, const char *name, void (TfrmWinBg::*slot)()) {
        auto *b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setMinimumWidth(96);
        connect(b, &QPushButton::clicked, this, [this, slot] { RunGuarded([&] { (this->*slot)(); }); });
        return b;
    };
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(button("装入图片", "btnLoad", &TfrmWinBg::loadPicture));
    buttons->addWidget(button("清除图片", "btnClear", &TfrmWinBg::clearPicture));
    buttons->addStretch(1);
    QPushButton *setBg = button("设为背景", "btnSetBg", &TfrmWinBg::setAsBackground);
    setBg->setDefault(true);
    buttons->addWidget(setBg);
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);
    layout->addLayout(navigator);
    layout->addWidget(sample, 1);
    layout->addLayout(buttons);
    resize(560, 420);
    m_ds->afterScroll = [this](TDataSet &) { refresh(); };
    refresh();
}

TfrmWinBg::~TfrmWinBg() = default;

QString TfrmWinBg::counterText() const
{
    return m_counter->text();
}

void TfrmWinBg::refresh()
{
    m_counter->setText(RecordCounterText(*m_ds, m_counter->text()));
    const bool any = !m_ds->isEmpty();
    m_preview->setPicture(any ? PictureOf(m_ds->fieldByName(QStringLiteral("BmpImage")).asBytes()) : QPixmap());
    // Loading a picture into an empty list makes its first row; the rest needs a row.
    for (QWidget *w : findChildren<QPushButton *>())
        if (w->objectName() != QLatin1String("btnClose") && w->objectName() != QLatin1String("btnLoad"))
            w->setEnabled(any);
}

bool TfrmWinBg::choosePictureInto()
{
    const std::optional<QString> file = Messages().openFileName(
        QStringLiteral("装入图片"), QString(),
        QStringLiteral("BMP Image File (*.BMP *.bmp *.png *.PNG *.jpg *.JPG *.jpeg *.JPEG)"));
    if (!file)
        return false;
    const QByteArray bytes = PictureBytesOfFile(*file);
    if (!m_ds->isEditing())
        m_ds->edit();
    m_ds->fieldByName(QStringLiteral("BmpImage")).setValue(bytes);
    m_ds->post();
    return true;
}

void TfrmWinBg::appendPicture()
{
    m_ds->append();
    bool stored = false;
    try {
        stored = choosePictureInto();
    } catch (...) {
        m_ds->cancel();
        throw;
    }
    // A new row without a picture would only be an empty entry in the list.
    if (!stored)
        m_ds->cancel();
    refresh();
}

void TfrmWinBg::deleteCurrent()
{
    DeleteWithConfirm(*m_ds);
    refresh();
}

void TfrmWinBg::loadPicture()
{
    if (m_ds->isEmpty()) {
        appendPicture();
        return;
    }
    choosePictureInto();
    refresh();
}

void TfrmWinBg::clearPicture()
{
    if (m_ds->isEmpty())
        return;
    m_ds->edit();
    m_ds->fieldByName(QStringLiteral("BmpImage")).clear();
    m_ds->post();
    refresh();
}

void TfrmWinBg::setAsBackground()
{
    if (m_ds->isEmpty())
        return;
    m_ds->checkBrowseMode();
    SetCurrentBackground(OpData(), m_ds->fieldByName(QStringLiteral("WinBgID")).asInteger());
    if (auto *main = qobject_cast<TfrmMain *>(parentWidget()))
        QCoreApplication::postEvent(main->mdiArea(), new TReloadBackgroundEvent());
    accept();
}
