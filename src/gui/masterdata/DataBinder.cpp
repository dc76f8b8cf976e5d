#include "DataBinder.h"
#include "shell/AppError.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>

TDataBinder::TDataBinder(TDataSet *ds, QObject *parent) : QObject(parent), m_ds(ds)
{
    connect(ds, &TDataSet::dataReset, this, &TDataBinder::refresh);
    connect(ds, &TDataSet::currentChanged, this, &TDataBinder::refresh);
    connect(ds, &TDataSet::rowChanged, this, [this](int row) {
        if (row == m_ds->recNo() - 1)
            refresh();
    });
    connect(ds, &TDataSet::rowRemoved, this, &TDataBinder::refresh);
    connect(ds, &TDataSet::stateChanged, this, &TDataBinder::refresh);
}

TField *TDataBinder::fieldOf(const QString &name) const
{
    return m_ds->active() ? m_ds->findField(name) : nullptr;
}

void TDataBinder::add(QWidget *widget, const QString &field, std::function<void(const TField *)> show)
{
    m_bindings << Binding{widget, field, std::move(show)};
    refresh();
}

void TDataBinder::refresh()
{
    if (m_ds->controlsDisabled())
        return;
    m_refreshing = true;
    const bool onRecord = m_ds->active() && !m_ds->isEmpty();
    for (const Binding &b : std::as_const(m_bindings)) {
        if (!b.widget || b.widget == m_storing)
            continue;
        const TField *f = onRecord ? fieldOf(b.field) : nullptr;
        b.show(f);
    }
    m_refreshing = false;
    Q_EMIT refreshed();
}

void TDataBinder::setControlsEnabled(bool on)
{
    for (const Binding &b : std::as_const(m_bindings))
        if (b.widget)
            b.widget->setEnabled(on && m_ds->findField(b.field));
}

void TDataBinder::store(QWidget *source, const QString &field, const QVariant &value)
{
    if (m_refreshing)
        return;
    m_storing = source;
    const bool ok = RunGuarded([&] {
        TField *f = fieldOf(field);
        if (!f)
            return;
        // Typing into a browsed record starts editing it; into an empty list, a new record.
        if (!m_ds->isEditing())
            m_ds->edit();
        f = fieldOf(field);
        f->setValue(value);
    });
    m_storing = nullptr;
    if (!ok)
        refresh(); // the control shows what the field kept
    else
        Q_EMIT valueStored(field);
}

void TDataBinder::bindLineEdit(QLineEdit *edit, const QString &field, bool numeric)
{
    connect(edit, &QLineEdit::textEdited, this, [this, edit, field, numeric](const QString &text) {
        const QString t = numeric ? text.trimmed() : text;
        if (t.isEmpty()) {
            store(edit, field, QVariant());
            return;
        }
        if (numeric) {
            bool ok = false;
            const double v = t.toDouble(&ok);
            if (!ok)
                return; // an unfinished number ("-", "0.") waits for more keys
            store(edit, field, v);
            return;
        }
        store(edit, field, t);
    });
    add(edit, field, [edit](const TField *f) {
        const QString text = f ? f->displayText() : QString();
        if (edit->text() != text)
            edit->setText(text);
    });
}

void TDataBinder::bindDisplay(QLineEdit *edit, const QString &field, std::function<QString(const QVariant &)> text)
{
    edit->setReadOnly(true);
    add(edit, field, [edit, text](const TField *f) {
        if (!f)
            edit->clear();
        else
            edit->setText(text ? text(f->value()) : f->displayText());
    });
}

void TDataBinder::bindCheckBox(QCheckBox *box, const QString &field)
{
    connect(box, &QCheckBox::clicked, this, [this, box, field](bool checked) { store(box, field, checked); });
    add(box, field, [box](const TField *f) {
        const QSignalBlocker block(box);
        box->setChecked(f && f->asBoolean());
    });
}

namespace {

// A date box showing "no date" (its minimum, drawn blank) takes no digits and opens its calendar
// in the minimum's month, a century back: a birthday could only be reached by paging through
// years. The first digit starts from today's date with the year selected, so "19900315" typed
// gives 1990.03.15; the calendar opens on today's month; Delete or Backspace over the whole
// text goes back to no date.
class TNullableDateKeys : public QObject {
public:
    explicit TNullableDateKeys(QDateEdit *edit) : QObject(edit), m_edit(edit)
    {
        edit->installEventFilter(this);
        if (QCalendarWidget *calendar = edit->calendarWidget())
            calendar->window()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool empty = m_edit->date() == m_edit->minimumDate();
        if (watched == m_edit && event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
            if (empty && plain && key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9) {
                {
                    const QSignalBlocker block(m_edit);
                    m_edit->setDate(QDate::currentDate());
                }
                m_edit->setSelectedSection(QDateTimeEdit::YearSection);
            } else if (!empty && (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace)) {
                const auto *text = m_edit->findChild<QLineEdit *>();
                if (text && text->hasSelectedText() && text->selectedText() == text->text()) {
                    m_edit->setDate(m_edit->minimumDate());
                    return true;
                }
            }
        } else if (event->type() == QEvent::Show && watched != m_edit && empty) {
            if (QCalendarWidget *calendar = m_edit->calendarWidget())
                calendar->setCurrentPage(QDate::currentDate().year(), QDate::currentDate().month());
        }
        return false;
    }

private:
    QDateEdit *m_edit;
};

} // namespace

void TDataBinder::bindDateEdit(QDateEdit *edit, const QString &field)
{
    if (edit->specialValueText().isEmpty())
        edit->setSpecialValueText(QStringLiteral(" "));
    new TNullableDateKeys(edit);
    connect(edit, &QDateEdit::dateChanged, this, [this, edit, field](const QDate &date) {
        store(edit, field, date == edit->minimumDate() ? QVariant() : QVariant(date));
    });
    add(edit, field, [edit](const TField *f) {
        const QSignalBlocker block(edit);
        const QDate date = f ? f->asDate() : QDate();
        edit->setDate(date.isValid() ? date : edit->minimumDate());
    });
}

void TDataBinder::bindValueCombo(QComboBox *combo, const QString &field)
{
    connect(combo, &QComboBox::activated, this, [this, combo, field](int index) {
        store(combo, field, index < 0 ? QVariant() : combo->itemData(index));
    });
    add(combo, field, [combo](const TField *f) {
        const QSignalBlocker block(combo);
        int index = -1;
        if (f && !f->isNull())
            for (int i = 0; i < combo->count(); ++i)
                if (combo->itemData(i).toString() == f->value().toString())
                    index = i;
        combo->setCurrentIndex(index);
    });
}

void TDataBinder::bindTextCombo(QComboBox *combo, const QString &field)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    connect(combo, &QComboBox::textActivated, this, [this, combo, field](const QString &text) {
        store(combo, field, text.isEmpty() ? QVariant() : QVariant(text));
    });
    connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, combo, field](const QString &text) {
        store(combo, field, text.isEmpty() ? QVariant() : QVariant(text));
    });
    add(combo, field, [combo](const TField *f) {
        const QSignalBlocker block(combo);
        const QString text = f ? f->asString() : QString();
        if (combo->currentText() != text)
            combo->setEditText(text);
    });
}
