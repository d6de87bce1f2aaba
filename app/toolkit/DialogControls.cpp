#include "app/toolkit/Dialog.h"

#include "app/toolkit/DialogWindow.h"
#include "app/toolkit/ListBoxModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace {

QWidget* MakeControl(const ControlLayout& c, QWidget* parent)
{
    switch (c.kind) {
    case ControlKind::PushButton: {
        auto* b = new QPushButton(c.text, parent);
        b->setAutoDefault(true);
        b->setDefault(c.defaultButton);
        return b;
    }
    case ControlKind::RadioButton: return new QRadioButton(c.text, parent);
    case ControlKind::Edit: {
        auto* e = new QLineEdit(parent);
        e->setReadOnly(c.readOnly);
        e->setFrame(c.border);
        if (!c.border) {
            // A borderless read-only box reads like a label.
            e->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
        }
        return e;
    }
    case ControlKind::DropList: return new QComboBox(parent);
    case ControlKind::GroupBox: {
        // The title sits on the frame's top line, so the frame fills the
        // rectangle the layout gives it.
        auto* g = new QGroupBox(c.text, parent);
        g->setStyleSheet(
            QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.5em; }"
                           "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px;"
                           " padding: 0 2px; }"));
        return g;
    }
    case ControlKind::Label: {
        auto* l = new QLabel(c.text, parent);
        l->setAlignment((c.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        return l;
    }
    case ControlKind::ProgressBar: {
        auto* p = new QProgressBar(parent);
        p->setTextVisible(false);
        p->setRange(0, 100);
        p->setValue(0);
        return p;
    }
    case ControlKind::ListBox: {
        auto* list = new QListView(parent);
        list->setModel(new ListBoxModel(list));
        list->setUniformItemSizes(true);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        return list;
    }
    case ControlKind::CheckBox: return new QCheckBox(c.text, parent);
    }
    return nullptr;
}

ListBoxModel* ModelOf(const QListView* list)
{
    return list != nullptr ? static_cast<ListBoxModel*>(list->model()) : nullptr;
}

}  // namespace

void CDialog::BuildControls()
{
    QButtonGroup* group = nullptr;
    QWidget* previousFocus = nullptr;
    for (const ControlLayout& c : layout.controls) {
        QWidget* w = MakeControl(c, window.get());
        QRect pixels = DialogUnitsToPixels(c.rect, baseUnits);
        if (c.kind == ControlKind::DropList) {
            // The layout's height includes the opened list; closed, the box
            // keeps the height of one entry.
            pixels.setHeight(std::min(pixels.height(), w->sizeHint().height()));
        }
        w->setGeometry(pixels);
        if (c.kind == ControlKind::GroupBox) {
            w->lower();
            w->setFocusPolicy(Qt::NoFocus);
        } else if (c.kind == ControlKind::Label || c.kind == ControlKind::ProgressBar) {
            w->setFocusPolicy(Qt::NoFocus);
        } else {
            w->setFocusPolicy(c.tabStop ? Qt::StrongFocus : Qt::ClickFocus);
            if (c.tabStop) {
                if (previousFocus) {
                    QWidget::setTabOrder(previousFocus, w);
                }
                previousFocus = w;
            }
        }
        if (c.kind == ControlKind::RadioButton) {
            if (c.groupStart || !group) {
                group = new QButtonGroup(window.get());
                group->setExclusive(true);
            }
            group->addButton(static_cast<QRadioButton*>(w));
        } else if (c.kind != ControlKind::Label) {
            group = nullptr;
        }
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            const int id = c.id;
            QObject::connect(button, &QAbstractButton::clicked, window.get(), [this, id] { RunCommand(id); });
        }
        if (!c.accessibleName.isEmpty()) {
            w->setAccessibleName(c.accessibleName);
        }
        if (c.id != -1) {
            controls[c.id] = w;
            ConnectChange(c, w);
        }
    }
}

void CDialog::ConnectChange(const ControlLayout& c, QWidget* w)
{
    const int id = c.id;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QObject::connect(edit, &QLineEdit::textChanged, window.get(), [this, id] { RunChange(id); });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QObject::connect(combo, &QComboBox::currentIndexChanged, window.get(), [this, id] { RunChange(id); });
    } else if (auto* list = qobject_cast<QListView*>(w)) {
        QObject::connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, window.get(),
                         [this, id] { RunChange(id); });
    }
}

void CDialog::MapChange(int id, std::function<void()> handler)
{
    changes[id] = std::move(handler);
}

void CDialog::RunChange(int id)
{
    if (const auto it = changes.find(id); it != changes.end()) {
        it->second();
    }
}

void CDialog::CheckDlgButton(int id, bool checked)
{
    if (auto* box = Control<QCheckBox>(id)) {
        box->setChecked(checked);
    }
}

bool CDialog::IsDlgButtonChecked(int id) const
{
    const auto* box = Control<QCheckBox>(id);
    return box && box->isChecked();
}

void CDialog::SetListItems(int id, std::vector<std::string> items)
{
    if (ListBoxModel* model = ModelOf(Control<QListView>(id))) {
        model->SetEntries(std::move(items));
    }
}

int CDialog::GetListCount(int id) const
{
    const ListBoxModel* model = ModelOf(Control<QListView>(id));
    return model ? model->rowCount() : 0;
}

std::string CDialog::GetListItem(int id, int index) const
{
    const ListBoxModel* model = ModelOf(Control<QListView>(id));
    if (!model || index < 0 || index >= model->rowCount()) {
        return {};
    }
    return model->Entries()[static_cast<std::size_t>(index)];
}

int CDialog::GetListSelection(int id) const
{
    const auto* list = Control<QListView>(id);
    if (!list) {
        return -1;
    }
    const QModelIndexList chosen = list->selectionModel()->selectedIndexes();
    return chosen.isEmpty() ? -1 : chosen.first().row();
}

void CDialog::SetListSelection(int id, int index)
{
    auto* list = Control<QListView>(id);
    if (!list) {
        return;
    }
    const QModelIndex row = list->model()->index(index, 0);
    if (!row.isValid()) {
        list->selectionModel()->clearSelection();
        return;
    }
    list->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    list->scrollTo(row);
}

void CDialog::SetElidedText(int id, const std::string& text)
{
    auto* edit = Control<QLineEdit>(id);
    if (!edit) {
        return;
    }
    const QString whole = QString::fromStdString(text);
    const QMargins margins = edit->textMargins() + edit->contentsMargins();
    // A line edit keeps a little room of its own either side of its text.
    constexpr int kEditPadding = 4;
    const int room = edit->width() - margins.left() - margins.right() - kEditPadding;
    edit->setText(QFontMetrics(edit->font()).elidedText(whole, Qt::ElideRight, room));
    edit->setCursorPosition(0);
    edit->setToolTip(whole);
    const ControlLayout* c = layout.Find(id);
    edit->setAccessibleName(whole.isEmpty() && c != nullptr ? c->accessibleName : whole);
}

void CDialog::FillLists()
{
    for (const ControlLayout& c : layout.controls) {
        auto* combo = c.kind == ControlKind::DropList ? Control<QComboBox>(c.id) : nullptr;
        if (!combo) {
            continue;
        }
        combo->clear();
        for (const QString& item : c.items) {
            int at = combo->count();
            if (c.sorted) {
                at = 0;
                while (at < combo->count() && QString::compare(combo->itemText(at), item, Qt::CaseInsensitive) <= 0) {
                    ++at;
                }
            }
            combo->insertItem(at, item);
        }
        combo->setCurrentIndex(-1);
    }
}
