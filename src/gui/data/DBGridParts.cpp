#include "DBGridParts.h"
#include "DBGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QToolButton>

namespace {

void DrawHeaderBackground(const QWidget *w, QPainter *p, const QRect &r)
{
    QStyleOptionHeader opt;
    opt.initFrom(w);
    opt.rect = r;
    opt.state = QStyle::State_Enabled | QStyle::State_Raised;
    opt.position = QStyleOptionHeader::Middle;
    opt.orientation = Qt::Horizontal;
    w->style()->drawControl(QStyle::CE_HeaderSection, &opt, p, w);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TGridTitleHeader

TGridTitleHeader::TGridTitleHeader(TDBGrid *grid) : QHeaderView(Qt::Horizontal, grid), m_grid(grid)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setSectionsMovable(false);
    setDefaultAlignment(Qt::AlignCenter);
    setMinimumSectionSize(4);
}

void TGridTitleHeader::setLevels(int levels)
{
    if (levels == m_levels)
        return;
    m_levels = levels;
    updateGeometry();
    viewport()->update();
}

int TGridTitleHeader::lineHeight() const { return fontMetrics().height() + 6; }

QSize TGridTitleHeader::sizeHint() const
{
    QSize s = QHeaderView::sizeHint();
    s.setHeight(m_levels * lineHeight() + 1);
    return s;
}

bool TGridTitleHeader::nearBorder(const QPoint &pos) const
{
    // Where the header offers to resize a column, a press is a drag, never a title click.
    const int margin = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this) + 1;
    return logicalIndexAt(pos.x() - margin) != logicalIndexAt(pos.x() + margin);
}

void TGridTitleHeader::mousePressEvent(QMouseEvent *event)
{
    m_pressPos = event->position().toPoint();
    m_pressOnBorder = nearBorder(m_pressPos);
    QHeaderView::mousePressEvent(event);
}

void TGridTitleHeader::mouseReleaseEvent(QMouseEvent *event)
{
    // The click signal does not carry the modifiers; a Ctrl+click adds a sort column.
    const QPoint pos = event->position().toPoint();
    const int section = logicalIndexAt(pos);
    const bool click = event->button() == Qt::LeftButton && !m_pressOnBorder
                       && (pos - m_pressPos).manhattanLength() <= QApplication::startDragDistance()
                       && section >= 0 && section == logicalIndexAt(m_pressPos);
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    QHeaderView::mouseReleaseEvent(event);
    if (click)
        m_grid->titleClicked(section, modifiers);
}

void TGridTitleHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    drawCell(painter, rect, logicalIndex);
    painter->restore();
}

void TGridTitleHeader::drawCell(QPainter *painter, const QRect &rect, int logical) const
{
    const QString title = m_grid->columnTitle(logical);
    const QString upper = TDBGrid::upperTitle(title);
    QRect lowerRect = rect;
    if (m_levels > 1 && !upper.isEmpty()) {
        // The band: one cell across every adjacent column with the same upper title, drawn in
        // pieces by each column so that partial repaints agree.
        const QPair<int, int> band = m_grid->bandRange(logical);
        const int first = logicalIndex(band.first);
        const int last = logicalIndex(band.second);
        const int left = sectionViewportPosition(first);
        const int right = sectionViewportPosition(last) + sectionSize(last);
        const int half = rect.height() / m_levels;
        const QRect bandRect(left, rect.top(), right - left, half);
        DrawHeaderBackground(this, painter, bandRect);
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->drawText(bandRect.adjusted(2, 0, -2, 0), Qt::AlignCenter,
                          fontMetrics().elidedText(upper, Qt::ElideRight, bandRect.width() - 4));
        lowerRect.setTop(rect.top() + half);
    }
    DrawHeaderBackground(this, painter, lowerRect);

    QRect textRect = lowerRect.adjusted(3, 1, -3, -1);
    const SortMarker marker = m_grid->sortMarker(logical);
    if (marker != SortMarker::None) {
        const int order = m_grid->sortMarkers().size() > 1 ? m_grid->sortMarkerOrder(logical) : 0;
        QFont small = font();
        small.setPointSizeF(std::max(6.0, font().pointSizeF() * 0.75));
        const QFontMetrics sm(small);
        const int arrowW = 8;
        const int numberW = order > 0 ? sm.horizontalAdvance(QString::number(order)) + 1 : 0;
        const int markW = arrowW + numberW + 2;
        const QRect markRect(textRect.right() - markW + 1, textRect.top(), markW, textRect.height());
        textRect.setRight(markRect.left() - 1);
        const int cy = markRect.center().y();
        const int ax = markRect.left();
        QPainterPath arrow;
        if (marker == SortMarker::Up) {
            arrow.moveTo(ax, cy + 3);
            arrow.lineTo(ax + arrowW, cy + 3);
            arrow.lineTo(ax + arrowW / 2.0, cy - 3);
        } else {
            arrow.moveTo(ax, cy - 3);
            arrow.lineTo(ax + arrowW, cy - 3);
            arrow.lineTo(ax + arrowW / 2.0, cy + 3);
        }
        arrow.closeSubpath();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->fillPath(arrow, palette().color(QPalette::Dark));
        painter->setRenderHint(QPainter::Antialiasing, false);
        if (order > 0) {
            painter->setFont(small);
            painter->setPen(palette().color(QPalette::ButtonText));
            painter->drawText(QRect(ax + arrowW + 1, markRect.top(), numberW + 1, markRect.height()),
                              Qt::AlignLeft | Qt::AlignVCenter, QString::number(order));
            painter->setFont(font());
        }
    }
    const QString lower = upper.isEmpty() ? title : TDBGrid::lowerTitle(title);
    painter->setPen(palette().color(QPalette::ButtonText));
    const QFontMetrics fm = fontMetrics();
    if (lowerRect.height() >= 2 * fm.height() && fm.horizontalAdvance(lower) > textRect.width())
        painter->drawText(textRect, Qt::AlignCenter | Qt::TextWordWrap, lower);
    else
        painter->drawText(textRect, Qt::AlignCenter, fm.elidedText(lower, Qt::ElideRight, textRect.width()));
}

// ---------------------------------------------------------------------------------------------
// TGridIndicator

TGridIndicator::TGridIndicator(TDBGrid *grid) : QHeaderView(Qt::Vertical, grid), m_grid(grid)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Fixed);
    setMinimumSectionSize(8);
}

QSize TGridIndicator::sizeHint() const { return QSize(14, QHeaderView::sizeHint().height()); }

void TGridIndicator::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    DrawHeaderBackground(this, painter, rect);
    const TDataSet *ds = m_grid->dataSet();
    if (!ds || !ds->active() || logicalIndex != ds->recNo() - 1)
        return;
    painter->save();
    painter->setPen(palette().color(QPalette::ButtonText));
    const QPoint c = rect.center();
    switch (ds->state()) {
    case TDataSet::State::Edit:
        painter->drawLine(c.x(), c.y() - 4, c.x(), c.y() + 4);
        painter->drawLine(c.x() - 2, c.y() - 4, c.x() + 2, c.y() - 4);
        painter->drawLine(c.x() - 2, c.y() + 4, c.x() + 2, c.y() + 4);
        break;
    case TDataSet::State::Insert:
        painter->drawText(rect, Qt::AlignCenter, QStringLiteral("*"));
        break;
    default: {
        QPainterPath arrow;
        arrow.moveTo(c.x() - 2, c.y() - 4);
        arrow.lineTo(c.x() + 3, c.y());
        arrow.lineTo(c.x() - 2, c.y() + 4);
        arrow.closeSubpath();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->fillPath(arrow, palette().color(QPalette::ButtonText));
        break;
    }
    }
    painter->restore();
}

// ---------------------------------------------------------------------------------------------
// TGridFooter and the corner

TGridFooter::TGridFooter(TDBGrid *grid) : QWidget(grid), m_grid(grid) {}

int TGridFooter::footerHeight() const { return fontMetrics().height() + 8; }

void TGridFooter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect all = rect();
    p.fillRect(all, palette().color(QPalette::Button));
    const QHeaderView *header = m_grid->horizontalHeader();
    const int left = m_grid->verticalHeader()->isVisible() ? m_grid->verticalHeader()->width() : 0;
    if (left > 0)
        DrawHeaderBackground(this, &p, QRect(0, 0, left, all.height()));
    p.setClipRect(QRect(left, 0, all.width() - left, all.height()));
    const QColor line = palette().color(QPalette::Mid);
    const QColor cellBack = palette().color(QPalette::Base);
    for (int column : m_grid->visibleColumns()) {
        const int x = left + header->sectionViewportPosition(column);
        const int w = header->sectionSize(column);
        if (x + w < left || x > all.width())
            continue;
        const QRect cell(x, 0, w, all.height());
        p.fillRect(cell.adjusted(0, 1, 0, 0), cellBack);
        p.setPen(line);
        p.drawLine(cell.topLeft(), cell.topRight());
        p.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
        const QString text = m_grid->footerText(column);
        if (text.isEmpty())
            continue;
        const TGridColumn *settings = m_grid->findColumn(column);
        const bool sum = settings && settings->footerKind == FooterKind::Sum;
        p.setPen(palette().color(QPalette::Text));
        const QRect textRect = cell.adjusted(4, 1, -4, 0);
        p.drawText(textRect, (sum ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter,
                   fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
    }
    p.setClipping(false);
    p.setPen(line);
    p.drawLine(all.bottomLeft(), all.bottomRight());
}

void TGridCorner::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    DrawHeaderBackground(this, &p, rect());
}

// ---------------------------------------------------------------------------------------------
// TEllipsisEditor

TEllipsisEditor::TEllipsisEditor(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_edit = new QLineEdit(this);
    m_edit->setFrame(false);
    m_button = new QToolButton(this);
    m_button->setText(QStringLiteral("..."));
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setCursor(Qt::ArrowCursor);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_button);
    setFocusProxy(m_edit);
    setAutoFillBackground(true);
    connect(m_button, &QToolButton::clicked, this, &TEllipsisEditor::buttonClicked);
}

// ---------------------------------------------------------------------------------------------
// TGridDelegate

TGridDelegate::TGridDelegate(TDBGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

QRect TGridDelegate::checkRect(const QStyleOptionViewItem &option)
{
    const int size = 13;
    return QRect(option.rect.center().x() - size / 2, option.rect.center().y() - size / 2, size, size);
}

void TGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QColor back = m_grid->cellBackground(index);
    const QColor fore = m_grid->cellForeground(index);
    painter->fillRect(opt.rect, back);
    opt.backgroundBrush = Qt::NoBrush;
    opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
    opt.palette.setColor(QPalette::Text, fore);
    opt.palette.setColor(QPalette::HighlightedText, fore);
    QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    if (opt.features & QStyleOptionViewItem::HasCheckIndicator) {
        // Yes/no cells: one centred box, no text.
        QStyleOptionViewItem box = opt;
        // The box keeps the normal colours: the style draws the tick in the text colour, and
        // the white text of a selected row would leave a white tick in a white box.
        box.palette = option.palette;
        box.rect = checkRect(opt);
        box.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, opt.widget);
        return;
    }
    opt.rect = opt.rect.adjusted(1, 0, -1, 0);
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
}

bool TGridDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                const QModelIndex &index)
{
    if (!(index.flags() & Qt::ItemIsUserCheckable))
        return false;
    bool toggle = false;
    if (event->type() == QEvent::MouseButtonRelease) {
        auto *me = static_cast<QMouseEvent *>(event);
        toggle = me->button() == Qt::LeftButton && checkRect(option).adjusted(-3, -3, 3, 3).contains(me->position().toPoint());
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        return true; // a double click on the box is two toggles, not an editor
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        toggle = key == Qt::Key_Space || key == Qt::Key_Select;
    }
    if (!toggle)
        return false;
    const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    return true;
}

QWidget *TGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const TGridColumn *settings = m_grid->findColumn(index.column());
    const TField *field = m_grid->columnField(index.column());
    QStringList pick = settings ? settings->pickList : QStringList();
    if (pick.isEmpty() && field)
        pick = field->pickList;
    const bool numeric = field && field->isNumeric();
    if (!pick.isEmpty()) {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setMaxVisibleItems(20);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(pick);
        combo->setFrame(false);
        combo->setProperty("gridEditor", true);
        return combo;
    }
    if (settings && settings->button) {
        auto *editor = new TEllipsisEditor(parent);
        if (numeric)
            editor->lineEdit()->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const QPersistentModelIndex at(index);
        TDBGrid *grid = m_grid;
        connect(editor, &TEllipsisEditor::buttonClicked, grid, [grid, at, editor, this] {
            if (!at.isValid())
                return;
            Q_EMIT grid->editButtonClicked(at.row(), grid->columnFieldName(at.column()));
            // The window may have written the field meanwhile: show what it holds now.
            if (at.isValid() && !editor->lineEdit()->isModified())
                setEditorData(editor, at);
        });
        editor->lineEdit()->installEventFilter(const_cast<TGridDelegate *>(this));
        editor->setProperty("gridEditor", true);
        return editor;
    }
    auto *edit = new QLineEdit(parent);
    edit->setFrame(false);
    if (numeric)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (field && field->dataType() == FieldType::String && field->size() > 0)
        edit->setMaxLength(field->size());
    edit->setProperty("gridEditor", true);
    return edit;
}

void TGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QVariant v = index.data(Qt::EditRole);
    const QString text = v.metaType().id() == QMetaType::QDate ? v.toDate().toString(QStringLiteral("yyyy.MM.dd"))
                                                              : v.toString();
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        combo->setProperty("originalText", text);
        combo->setEditText(text);
    } else if (auto *ellipsis = qobject_cast<TEllipsisEditor *>(editor)) {
        ellipsis->lineEdit()->setText(text);
    } else if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
        edit->setText(text);
    }
}

void TGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    QString text;
    bool modified = false;
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        text = combo->currentText();
        modified = text != combo->property("originalText").toString();
    } else if (auto *ellipsis = qobject_cast<TEllipsisEditor *>(editor)) {
        text = ellipsis->lineEdit()->text();
        modified = ellipsis->lineEdit()->isModified();
    } else if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
        text = edit->text();
        modified = edit->isModified();
    }
    if (!modified)
        return;
    const bool ok = model->setData(index, text.isEmpty() ? QVariant() : QVariant(text), Qt::EditRole);
    editor->setProperty("commitFailed", !ok);
    if (ok) {
        if (auto *edit = qobject_cast<QLineEdit *>(editor))
            edit->setModified(false);
        else if (auto *ellipsis = qobject_cast<TEllipsisEditor *>(editor))
            ellipsis->lineEdit()->setModified(false);
        else if (auto *combo = qobject_cast<QComboBox *>(editor))
            combo->setProperty("originalText", text);
    }
}

void TGridDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                         const QModelIndex &) const
{
    editor->setGeometry(option.rect);
}

bool TGridDelegate::commit(QWidget *editor)
{
    editor->setProperty("commitFailed", false);
    m_committing = true;
    Q_EMIT commitData(editor);
    m_committing = false;
    return !editor->property("commitFailed").toBool();
}

static QLineEdit *EditorLine(QWidget *editor)
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        return edit;
    return editor->findChild<QLineEdit *>();
}

bool TGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    // The inner line edit of a composite editor has the focus: its events count as the editor's.
    QWidget *editor = qobject_cast<QWidget *>(object);
    while (editor && !editor->property("gridEditor").toBool())
        editor = editor->parentWidget();
    if (!editor)
        return QStyledItemDelegate::eventFilter(object, event);

    if (event->type() == QEvent::FocusOut && (m_committing || !editor->isVisible()))
        return false; // an error box took the focus (keep the editor), or the editor is closed already
    if (event->type() != QEvent::KeyPress) {
        if (object == editor || event->type() == QEvent::FocusOut)
            return QStyledItemDelegate::eventFilter(editor, event);
        return false;
    }

    auto *key = static_cast<QKeyEvent *>(event);
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    auto *combo = qobject_cast<QComboBox *>(editor);
    auto finish = [&](int movement) {
        if (!commit(editor)) {
            if (QLineEdit *line = EditorLine(editor))
                line->selectAll();
            return true;
        }
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
        m_grid->afterEditorKey(movement, modifiers);
        return true;
    };
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ctrl) {
            if (auto *ellipsis = qobject_cast<TEllipsisEditor *>(editor)) {
                ellipsis->button()->click();
                return true;
            }
        }
        if (combo && combo->view() && combo->view()->isVisible())
            return false;
        return finish(Qt::Key_Return);
    case Qt::Key_Tab:
        return finish(Qt::Key_Tab);
    case Qt::Key_Backtab:
        return finish(Qt::Key_Backtab);
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (combo)
            return false; // the drop-down uses them
        return finish(key->key());
    case Qt::Key_Escape:
        Q_EMIT closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        return true;
    default:
        return false;
    }
}
