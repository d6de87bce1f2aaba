#include "app/toolkit/Dialog.h"

#include "base/ParseInteger.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>

#include <limits>
#include <string>

namespace {

// Control `id` as a W for the next exchange, now the control exchanged last;
// null when an earlier exchange failed (nothing more is exchanged) or the
// dialog has no such control.
template <typename W>
W* ExchangedControl(CDataExchange& dx, int id)
{
    if (dx.failed) {
        return nullptr;
    }
    dx.lastControl = id;
    return dx.dialog.Control<W>(id);
}

// Decimal text, blanks around allowed, into an integer of type T.
template <typename T>
void ExchangeInteger(CDataExchange& dx, int id, T& value)
{
    auto* edit = ExchangedControl<QLineEdit>(dx, id);
    if (!edit) {
        return;
    }
    if (!dx.saveAndValidate) {
        edit->setText(QString::number(value));
        return;
    }
    const std::string text = edit->text().trimmed().toStdString();
    if (const auto parsed = ParseInteger(text, std::numeric_limits<T>::min(), std::numeric_limits<T>::max())) {
        value = static_cast<T>(*parsed);
    } else if (IsWholeNumber(text)) {
        dx.Fail("Please enter an integer between " + std::to_string(std::numeric_limits<T>::min()) + " and " +
                std::to_string(std::numeric_limits<T>::max()) + ".");
    } else {
        dx.Fail("Please enter an integer.");
    }
}

}  // namespace

void CDataExchange::Fail(const std::string& message)
{
    failed = true;
    dialog.MessageBox(message);
    if (QWidget* w = dialog.GetDlgItem(lastControl)) {
        w->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            edit->selectAll();
        }
    }
}

void DDX_Text(CDataExchange& dx, int id, std::int32_t& value)
{
    ExchangeInteger(dx, id, value);
}
void DDX_Text(CDataExchange& dx, int id, std::int16_t& value)
{
    ExchangeInteger(dx, id, value);
}
void DDX_Text(CDataExchange& dx, int id, std::uint32_t& value)
{
    ExchangeInteger(dx, id, value);
}

void DDX_Text(CDataExchange& dx, int id, std::string& value)
{
    if (auto* edit = ExchangedControl<QLineEdit>(dx, id)) {
        if (dx.saveAndValidate) {
            value = edit->text().toStdString();
        } else {
            edit->setText(QString::fromStdString(value));
        }
    }
}

void DDX_CBIndex(CDataExchange& dx, int id, std::int32_t& index)
{
    if (auto* combo = ExchangedControl<QComboBox>(dx, id)) {
        if (dx.saveAndValidate) {
            index = combo->currentIndex();
        } else {
            combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
        }
    }
}

void DDX_Check(CDataExchange& dx, int id, bool& checked)
{
    if (auto* box = ExchangedControl<QCheckBox>(dx, id)) {
        if (dx.saveAndValidate) {
            checked = box->isChecked();
        } else {
            box->setChecked(checked);
        }
    }
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int min, int max)
{
    if (dx.failed || !dx.saveAndValidate) {
        return;
    }
    if (value < min || value > max) {
        dx.Fail("Please enter an integer between " + std::to_string(min) + " and " + std::to_string(max) + ".");
    }
}

void CProgressCtrl::SetRange(int lower, int upper)
{
    if (bar) {
        bar->setRange(lower, upper);
    }
}

void CProgressCtrl::SetPos(int position)
{
    if (bar) {
        bar->setValue(position);
    }
}

int CProgressCtrl::GetPos() const
{
    return bar ? bar->value() : 0;
}

void DDX_Control(CDataExchange& dx, int id, CProgressCtrl& control)
{
    control.Attach(dx.dialog.Control<QProgressBar>(id));
}
