#include "QtMessageService.h"
#include "shell/Product.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

struct BoxStyle {
    QMessageBox::Icon icon;
    QString caption;
    bool cancel;   // OK + Cancel
    bool yesNo;    // Yes + No
};

BoxStyle StyleOf(IMessageService::Kind kind)
{
    using K = IMessageService::Kind;
    switch (kind) {
    case K::Info: return {QMessageBox::Information, QStringLiteral("信息"), false, false};
    case K::Confirm: return {QMessageBox::Question, QStringLiteral("确认"), true, false};
    case K::Acknowledge: return {QMessageBox::Question, QStringLiteral("确认"), false, false};
    case K::Warning: return {QMessageBox::Warning, QStringLiteral("警告"), false, false};
    case K::WarningConfirm: return {QMessageBox::Warning, QStringLiteral("警告"), true, false};
    case K::Question: return {QMessageBox::Question, QStringLiteral("询问"), false, true};
    case K::Error: return {QMessageBox::Critical, ProductTitle(), false, false};
    }
    return {QMessageBox::NoIcon, ProductTitle(), false, false};
}

void LabelInChinese(QFileDialog &dialog, const QString &accept)
{
    // Qt's own dialog, so that its buttons and labels read Chinese whatever the desktop is.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("查找范围："));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("文件名："));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("文件类型："));
    dialog.setLabelText(QFileDialog::Accept, accept);
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("取消"));
    dialog.setWindowModality(Qt::ApplicationModal);
    // Room for the size, type and date columns, which the default size cuts to "75…iB".
    dialog.resize(820, 500);
    if (auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        const int widths[] = {0, 90, 120, 150};
        for (int column = 1; column < 4 && column < header->count(); ++column)
            header->resizeSection(column, widths[column]);
    }
}

// `dir` may name a folder to start in or a file to propose.
void StartAt(QFileDialog &dialog, const QString &dir)
{
    if (dir.isEmpty())
        return;
    const QFileInfo info(dir);
    if (info.isDir()) {
        dialog.setDirectory(dir);
    } else {
        if (info.dir().exists())
            dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
}

std::optional<QString> Chosen(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

QWidget *QtMessageService::owner() const
{
    if (m_mainWindow)
        return m_mainWindow;
    return QApplication::activeWindow();
}

bool QtMessageService::message(Kind kind, const QString &text, const QString &caption)
{
    const BoxStyle style = StyleOf(kind);
    // Error texts join their parts with a carriage return, which a label does not break on.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(style.icon, caption.isEmpty() ? style.caption : caption, shown, QMessageBox::NoButton, owner());
    QPushButton *yes = nullptr;
    QPushButton *no = nullptr;
    if (style.yesNo) {
        yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
    } else {
        yes = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        if (style.cancel)
            no = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    }
    box.setDefaultButton(yes);
    box.setEscapeButton(no ? no : yes);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> QtMessageService::inputText(const QString &caption, const QString &prompt,
                                                   const QString &initial, bool password)
{
    QInputDialog dialog(owner());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    dialog.setTextEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
    dialog.setOkButtonText(QStringLiteral("确定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> QtMessageService::openFileName(const QString &caption, const QString &dir,
                                                      const QString &filter)
{
    QFileDialog dialog(owner(), caption);
    LabelInChinese(dialog, QStringLiteral("打开"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!filter.isEmpty())
        dialog.setNameFilter(filter);
    StartAt(dialog, dir);
    return Chosen(dialog);
}

std::optional<QString> QtMessageService::saveFileName(const QString &caption, const QString &dir,
                                                      const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(owner(), caption);
    LabelInChinese(dialog, QStringLiteral("保存"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!filter.isEmpty())
        dialog.setNameFilter(filter);
    if (!defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(defaultSuffix.startsWith(QLatin1Char('.')) ? defaultSuffix.mid(1) : defaultSuffix);
    StartAt(dialog, dir);
    return Chosen(dialog);
}

std::optional<QString> QtMessageService::existingDirectory(const QString &caption, const QString &startDir)
{
    QFileDialog dialog(owner(), caption);
    LabelInChinese(dialog, QStringLiteral("选择"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!startDir.isEmpty() && QFileInfo(startDir).isDir())
        dialog.setDirectory(startDir);
    return Chosen(dialog);
}
