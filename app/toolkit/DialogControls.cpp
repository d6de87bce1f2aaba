#include "app/toolkit/Dialog.h"

#include "app/toolkit/DialogWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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
    }
    return nullptr;
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
        if (c.id != -1) {
            controls[c.id] = w;
        }
    }
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
