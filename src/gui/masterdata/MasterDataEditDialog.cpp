#include "MasterDataEditDialog.h"
#include "DataBinder.h"
#include "data/DataSetHelpers.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

namespace {
constexpr int kEditorWidth = 220;

QString LeftTrimmed(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    return text.mid(i);
}
} // namespace

KeyItemList AreaDropDownItems()
{
    QStringList keys;
    KeyItemList items;
    OpData().LoadAreas(keys, items);
    return items;
}

TMasterDataEditDialog::TMasterDataEditDialog(MasterDataKind kind, QWidget *parent)
    : QDialog(parent), m_ds(new TMasterDataSet(kind, this)), m_binder(new TDataBinder(m_ds, this))
{
    setObjectName(member().dialogClass);
    setWindowTitle(member().dialogCaption);
    buildLayout();
    reloadLookups();
    m_ds->open();
    connect(m_ds, &TDataSet::stateChanged, this, [this] {
        const bool inserting = m_ds->state() == TDataSet::State::Insert;
        if (inserting && !m_inserting)
            m_typedInNewRow = false;
        m_inserting = inserting;
    });
    connect(m_binder, &TDataBinder::valueStored, this, [this] { m_typedInNewRow = true; });
}

TMasterDataEditDialog::~TMasterDataEditDialog()
{
    // Closing the dataset abandons a row that was never saved.
    delete m_binder;
    m_ds->close();
}

QWidget *TMasterDataEditDialog::editor(const QString &column) const
{
    for (const auto &[name, widget] : m_editors)
        if (name.compare(column, Qt::CaseInsensitive) == 0)
            return widget;
    return nullptr;
}

QWidget *TMasterDataEditDialog::firstEditor() const { return m_editors.isEmpty() ? nullptr : m_editors.first().second; }

QWidget *TMasterDataEditDialog::makeAreaEditor(const TDialogField &field)
{
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    m_area = new QComboBox;
    m_area->setObjectName(field.column);
    m_area->setMinimumWidth(kEditorWidth / 2 + 20);
    m_areaName = new QLineEdit;
    m_areaName->setObjectName(QStringLiteral("edtAreaName"));
    m_areaName->setReadOnly(true);
    m_areaName->setFocusPolicy(Qt::NoFocus);
    row->addWidget(m_area, 1);
    row->addWidget(m_areaName, 1);
    m_binder->bindValueCombo(m_area, field.column);
    m_lookups << Lookup{m_area, &field};
    connect(m_area, &QComboBox::currentIndexChanged, this, &TMasterDataEditDialog::refreshAreaName);
    connect(m_binder, &TDataBinder::refreshed, this, &TMasterDataEditDialog::refreshAreaName);
    m_editors << qMakePair(field.column, static_cast<QWidget *>(m_area));
    return box;
}

QWidget *TMasterDataEditDialog::makeEditor(const TDialogField &field)
{
    QWidget *editor = nullptr;
    QWidget *cell = nullptr;
    switch (field.editor) {
    case EditorKind::Text:
    case EditorKind::Number: {
        auto *edit = new QLineEdit;
        if (field.editor == EditorKind::Number) {
            auto *numbers = new QDoubleValidator(edit);
            numbers->setLocale(QLocale::c());
            numbers->setNotation(QDoubleValidator::StandardNotation);
            edit->setValidator(numbers);
        }
        m_binder->bindLineEdit(edit, field.column, field.editor == EditorKind::Number);
        editor = edit;
        break;
    }
    case EditorKind::Display: {
        auto *edit = new QLineEdit;
        edit->setFocusPolicy(Qt::NoFocus);
        const QList<TChoice> choices = field.choices;
        m_binder->bindDisplay(edit, field.column, [choices](const QVariant &v) {
            return choices.isEmpty() ? v.toString() : ChoiceText(choices, v);
        });
        editor = edit;
        break;
    }
    case EditorKind::AreaDropDown:
        return makeAreaEditor(field);
    case EditorKind::KeyDropDown: {
        auto *combo = new QComboBox;
        m_binder->bindValueCombo(combo, field.column);
        m_lookups << Lookup{combo, &field};
        editor = combo;
        break;
    }
    case EditorKind::Choice: {
        auto *combo = new QComboBox;
        for (const TChoice &c : field.choices)
            combo->addItem(c.text, c.value);
        m_binder->bindValueCombo(combo, field.column);
        editor = combo;
        break;
    }
    case EditorKind::PickList: {
        auto *combo = new QComboBox;
        combo->addItems(field.pickList);
        m_binder->bindTextCombo(combo, field.column);
        editor = combo;
        break;
    }
    case EditorKind::CheckBox: {
        auto *box = new QCheckBox(field.caption);
        m_binder->bindCheckBox(box, field.column);
        editor = box;
        break;
    }
    case EditorKind::Date: {
        auto *date = new QDateEdit;
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
        date->setMinimumDate(QDate(1900, 1, 1));
        m_binder->bindDateEdit(date, field.column);
        editor = date;
        break;
    }
    }
    editor->setObjectName(field.column);
    if (field.editor != EditorKind::CheckBox)
        editor->setMinimumWidth(field.editor == EditorKind::Date ? kEditorWidth / 2 : kEditorWidth);
    m_editors << qMakePair(field.column, editor);
    cell = editor;
    if (!field.hint.isEmpty()) {
        cell = new QWidget;
        auto *row = new QHBoxLayout(cell);
        row->setContentsMargins(0, 0, 0, 0);
        editor->setMinimumWidth(kEditorWidth / 2);
        row->addWidget(editor);
        auto *hint = new QLabel(field.hint);
        hint->setStyleSheet(QStringLiteral("color: red"));
        row->addWidget(hint, 1);
    }
    return cell;
}

void TMasterDataEditDialog::buildLayout()
{
    const TMasterDataMember &m = member();
    auto *main = new QVBoxLayout(this);
    auto makeForm = [] {
        auto *form = new QFormLayout;
        form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        form->setHorizontalSpacing(10);
        return form;
    };
    auto addRow = [this](QFormLayout *form, const TDialogField &field) {
        QWidget *cell = makeEditor(field);
        if (field.editor == EditorKind::CheckBox)
            form->addRow(QString(), cell);
        else
            form->addRow(field.caption + QStringLiteral("："), cell);
    };

    QFormLayout *top = makeForm();
    main->addLayout(top);
    QList<QFormLayout *> pageForms;
    if (!m.pages.isEmpty()) {
        m_pages = new QTabWidget;
        m_pages->setObjectName(QStringLiteral("PageControl1"));
        for (const QString &caption : m.pages) {
            auto *page = new QWidget;
            auto *form = makeForm();
            page->setLayout(form);
            pageForms << form;
            m_pages->addTab(page, caption);
        }
        main->addWidget(m_pages, 1);
    }
    for (const TDialogField &field : m.fields)
        addRow(field.page >= 0 && field.page < pageForms.size() ? pageForms.at(field.page) : top, field);

    alignLabels(top, pageForms);

    auto *buttons = new QHBoxLayout;
    if (m.navigator)
        buildNavigator(buttons);
    buttons->addStretch(1);
    m_add = new QPushButton(m.addCaption);
    m_add->setObjectName(QStringLiteral("btnAdd"));
    m_ok = new QPushButton(m.okCaption);
    m_ok->setObjectName(QStringLiteral("btnOk"));
    m_cancel = new QPushButton(m.cancelCaption);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    for (QPushButton *b : {m_add, m_ok, m_cancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    // Enter moves between fields in some dialogs and, past the last field, presses the button it
    // reached (see eventFilter); elsewhere it saves, as the OK button does.
    m_ok->setDefault(!m.enterAsTab);
    main->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &TMasterDataEditDialog::saveAndClose);
    connect(m_add, &QPushButton::clicked, this, &TMasterDataEditDialog::saveAndAdd);
    connect(m_cancel, &QPushButton::clicked, this, &TMasterDataEditDialog::reject);

    if (m.enterAsTab) {
        for (const auto &entry : std::as_const(m_editors)) {
            entry.second->installEventFilter(this);
            if (auto *combo = qobject_cast<QComboBox *>(entry.second); combo && combo->lineEdit())
                combo->lineEdit()->installEventFilter(this);
        }
        for (QPushButton *b : {m_add, m_ok, m_cancel})
            b->installEventFilter(this);
    }
    setMinimumWidth(m.pages.isEmpty() ? 340 : 460);
}

// The labels above the pages and those on them share one column edge, so that all editors
// start in one line.
void TMasterDataEditDialog::alignLabels(QFormLayout *top, const QList<QFormLayout *> &pages)
{
    auto labelsOf = [](QFormLayout *form) {
        QList<QWidget *> labels;
        for (int row = 0; row < form->rowCount(); ++row)
            if (QLayoutItem *item = form->itemAt(row, QFormLayout::LabelRole); item && item->widget()) {
                if (auto *label = qobject_cast<QLabel *>(item->widget()))
                    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                labels << item->widget();
            }
        return labels;
    };
    int widest = 0;
    QList<QFormLayout *> all = pages;
    all << top;
    for (QFormLayout *form : all)
        for (QWidget *label : labelsOf(form))
            widest = std::max(widest, label->sizeHint().width());
    // what a page's frame and margins add before its labels
    const int pageIndent = pages.isEmpty() ? 0
                                           : style()->pixelMetric(QStyle::PM_LayoutLeftMargin)
                                                 + style()->pixelMetric(QStyle::PM_DefaultFrameWidth) * 2;
    for (QWidget *label : labelsOf(top))
        label->setMinimumWidth(widest + pageIndent);
    for (QFormLayout *form : pages)
        for (QWidget *label : labelsOf(form))
            label->setMinimumWidth(widest);
}

void TMasterDataEditDialog::buildNavigator(QHBoxLayout *row)
{
    const TMasterDataMember &m = member();
    const QStyle::StandardPixmap icons[] = {QStyle::SP_MediaSkipBackward, QStyle::SP_MediaSeekBackward,
                                            QStyle::SP_MediaSeekForward, QStyle::SP_MediaSkipForward};
    const char *names[] = {"nbFirst", "nbPrior", "nbNext", "nbLast"};
    const std::function<void(TDataSet &)> moves[] = {[](TDataSet &ds) { ds.first(); },
                                                     [](TDataSet &ds) { ds.prior(); },
                                                     [](TDataSet &ds) { ds.next(); },
                                                     [](TDataSet &ds) { ds.last(); }};
    for (int i = 0; i < 4; ++i) {
        auto *button = new QToolButton;
        button->setObjectName(QLatin1String(names[i]));
        button->setIcon(style()->standardIcon(icons[i]));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus); // Enter and Tab go from the fields to the buttons
        if (i < m.navigatorHints.size())
            button->setToolTip(m.navigatorHints.at(i));
        const auto move = moves[i];
        connect(button, &QToolButton::clicked, this, [this, move] {
            RunGuarded([&] {
                // A new row nothing was typed into (after "增加") is dropped, not refused for
                // its empty required field: the user only wants to look at another row.
                if (m_ds->state() == TDataSet::State::Insert && !m_typedInNewRow)
                    m_ds->cancel();
                else if (m_ds->isEditing() && !PostWithMessage(*m_ds))
                    return;
                move(*m_ds);
            });
        });
        row->addWidget(button);
        m_navigator << button;
    }
}

void TMasterDataEditDialog::reloadLookups()
{
    if (m_lookups.isEmpty())
        return;
    m_ds->disableControls();
    try {
        for (const Lookup &l : std::as_const(m_lookups)) {
            KeyItemList items;
            if (l.field->editor == EditorKind::AreaDropDown) {
                items = AreaDropDownItems();
            } else if (l.field->lookup == LookupKind::Department) {
                QStringList keys;
                OpData().LoadDepartments(keys, items);
            }
            const QSignalBlocker block(l.combo);
            l.combo->clear();
            for (const KeyItem &item : std::as_const(items))
                l.combo->addItem(item.text, item.key);
        }
    } catch (...) {
        m_ds->enableControls();
        throw;
    }
    m_ds->enableControls();
    m_binder->refresh();
}

void TMasterDataEditDialog::refreshAreaName()
{
    if (m_area && m_areaName)
        m_areaName->setText(m_area->currentIndex() < 0 ? QString() : LeftTrimmed(m_area->currentText()));
}

void TMasterDataEditDialog::focusFirstField()
{
    if (QWidget *first = firstEditor()) {
        if (m_pages)
            m_pages->setCurrentIndex(0);
        first->setFocus(Qt::OtherFocusReason);
        if (auto *edit = qobject_cast<QLineEdit *>(first))
            edit->selectAll();
    }
}

void TMasterDataEditDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    RunGuarded([this] { reloadLookups(); });
    focusFirstField();
}

bool TMasterDataEditDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
            if (auto *button = qobject_cast<QPushButton *>(watched))
                button->click();
            else
                focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TMasterDataEditDialog::saveAndClose()
{
    // A database refusal is reported and the dialog closes with the row still pending; an
    // empty required field abandons the save before that and keeps the dialog open.
    RunGuarded([this] {
        PostWithMessage(*m_ds);
        accept();
    });
    if (isVisible())
        focusEmptyRequiredField();
}

// After a refusal for an empty required field the cursor stands in that field, on its page.
void TMasterDataEditDialog::focusEmptyRequiredField()
{
    if (!m_ds->active() || !m_ds->isEditing())
        return;
    for (const TRequiredField &r : member().required) {
        const TField *f = m_ds->findField(r.column);
        QWidget *edit = editor(r.column);
        if (!f || !edit || !f->asString().trimmed().isEmpty())
            continue;
        const TDialogField *field = member().dialogField(r.column);
        if (m_pages && field && field->page >= 0)
            m_pages->setCurrentIndex(field->page);
        edit->setFocus(Qt::OtherFocusReason);
        return;
    }
}

void TMasterDataEditDialog::saveAndAdd()
{
    bool saved = false;
    RunGuarded([&] {
        if (m_ds->isEditing() && !PostWithMessage(*m_ds))
            return;
        saved = true;
        if (!AppendWithMessage(*m_ds)) {
            // A new row whose key could not be drawn must not linger half-made.
            if (m_ds->state() == TDataSet::State::Insert)
                m_ds->cancel();
            return;
        }
        focusFirstField();
    });
    if (!saved)
        focusEmptyRequiredField();
}

bool TMasterDataEditDialog::hasTypedChanges() const
{
    return m_ds->state() == TDataSet::State::Edit || (m_ds->state() == TDataSet::State::Insert && m_typedInNewRow);
}

// The title bar's close box is no answer to what was typed: ask, rather than drop it unseen.
// "取消" and Escape stay the explicit way to drop the changes.
void TMasterDataEditDialog::closeEvent(QCloseEvent *event)
{
    if (!isVisible() || !hasTypedChanges()) {
        QDialog::closeEvent(event);
        return;
    }
    if (!QuestionYesNo(QStringLiteral("当前记录已经修改，是否保存？"))) {
        QDialog::closeEvent(event); // rejects: the changes are dropped
        return;
    }
    bool saved = false;
    RunGuarded([&] { saved = PostWithMessage(*m_ds); });
    if (!saved) {
        event->ignore(); // refused (reported): the row stays in the dialog to be mended
        return;
    }
    event->accept();
    accept();
}

void TMasterDataEditDialog::reject()
{
    RunGuarded([this] {
        if (m_ds->active())
            m_ds->cancel();
    });
    QDialog::reject();
}
