#pragma once
#include "data/DataSet.h"
#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QWidget;

// Binds edit controls to fields of one dataset, as data-aware controls do: each control shows
// its field of the current record and follows every move, and typing into a control puts the
// dataset into edit state (appending to an empty one) and stores the value at once.
class TDataBinder : public QObject {
    Q_OBJECT
public:
    explicit TDataBinder(TDataSet *ds, QObject *parent = nullptr);

    TDataSet *dataSet() const { return m_ds; }

    // Text; an empty box stores null. With numeric the text must be a number.
    void bindLineEdit(QLineEdit *edit, const QString &field, bool numeric = false);
    // Shown only.
    void bindDisplay(QLineEdit *edit, const QString &field, std::function<QString(const QVariant &)> text = {});
    void bindCheckBox(QCheckBox *box, const QString &field);
    // A date; the box's minimum date stands for "no date".
    void bindDateEdit(QDateEdit *edit, const QString &field);
    // Fixed entries whose item data are the stored values (reload the items any time, then refresh).
    void bindValueCombo(QComboBox *combo, const QString &field);
    // Free text with suggested entries.
    void bindTextCombo(QComboBox *combo, const QString &field);

    // Shows the current record's values in every control.
    void refresh();
    // Enables or disables every bound control, as the dataset's state allows.
    void setControlsEnabled(bool on);

Q_SIGNALS:
    // A control stored a value (after the dataset took it).
    void valueStored(const QString &field);
    // The controls show another record or were refreshed.
    void refreshed();

private:
    struct Binding {
        QPointer<QWidget> widget;
        QString field;
        std::function<void(const TField *)> show;
    };
    void add(QWidget *widget, const QString &field, std::function<void(const TField *)> show);
    void store(QWidget *source, const QString &field, const QVariant &value);
    TField *fieldOf(const QString &name) const;

    TDataSet *m_ds;
    QList<Binding> m_bindings;
    QWidget *m_storing = nullptr;   // the control whose value is being stored: not refreshed meanwhile
    bool m_refreshing = false;
};
