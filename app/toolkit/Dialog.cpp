#include "app/toolkit/Dialog.h"

#include "app/toolkit/Toolkit.h"
#include "app/toolkit/WindowPlacement.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTimerEvent>

#include <algorithm>
#include <charconv>
#include <limits>

// The Qt window of a CDialog: turns Qt's events into the dialog's calls.
class CDialogWindow : public QDialog {
public:
    CDialogWindow(CDialog& owner) : owner(owner) {}

    void EndModal(int result) { QDialog::done(result); }

    void accept() override { owner.RunCommand(IDOK); }
    void reject() override { owner.OnCancel(); }
    void done(int result) override { owner.EndDialog(result); }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        owner.OnClose();
    }
    void timerEvent(QTimerEvent* event) override { owner.DeliverTimer(event->timerId()); }

private:
    CDialog& owner;
};

namespace {

// The application window whose modal run is in progress, if any.
CDialog* runningApplicationWindow = nullptr;

DialogBaseUnits BaseUnitsOf(const QFont& font)
{
    const QFontMetrics metrics(font);
    const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    DialogBaseUnits base;
    base.charWidth = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    base.charHeight = metrics.height();
    return base;
}

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

template <typename T>
bool ParseInteger(const QString& text, T& value)
{
    const std::string s = text.trimmed().toStdString();
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-') {
            return false;
        }
    }
    T parsed{};
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || end != last || first == last) {
        return false;
    }
    value = parsed;
    return true;
}

// Optionally signed decimal digits, blanks around: a whole number of any size.
bool IsWholeNumber(const QString& text)
{
    QString t = text.trimmed();
    if (t.startsWith('-') || t.startsWith('+')) {
        t.remove(0, 1);
    }
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), [](QChar c) { return c >= '0' && c <= '9'; });
}

template <typename T>
void ExchangeInteger(CDataExchange& dx, int id, T& value)
{
    if (dx.failed) {
        return;
    }
    dx.lastControl = id;
    auto* edit = dx.dialog.Control<QLineEdit>(id);
    if (!edit) {
        return;
    }
    if (!dx.saveAndValidate) {
        edit->setText(QString::number(value));
        return;
    }
    if (!ParseInteger(edit->text(), value)) {
        if (IsWholeNumber(edit->text())) {
            dx.Fail("Please enter an integer between " + std::to_string(std::numeric_limits<T>::min()) + " and " +
                    std::to_string(std::numeric_limits<T>::max()) + ".");
        } else {
            dx.Fail("Please enter an integer.");
        }
    }
}

}  // namespace

CDialog::CDialog(int layoutId, CDialog* parent) : CDialog(LoadDialogLayout(layoutId).value_or(DialogLayout{}), parent)
{
}

CDialog::CDialog(DialogLayout layoutData, CDialog* parent)
    : layout(std::move(layoutData)),
      parent(parent),
      window(std::make_unique<CDialogWindow>(*this))
{
    const Qt::WindowFlags kind = layout.applicationWindow ? Qt::Window : Qt::Dialog;
    window->setWindowFlags(kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint);
    window->setWindowTitle(layout.caption);
    KeepCentred(window.get());
    QFont font(layout.fontFace.isEmpty() ? window->font().family() : layout.fontFace);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(layout.fontPoints);
    window->setFont(font);
    baseUnits = BaseUnitsOf(font);
    window->setFixedSize(DialogUnitsToPixels(layout.size, baseUnits));
    BuildControls();
}

CDialog::~CDialog() = default;

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

int CDialog::DoModal()
{
    ended = false;
    endResult = IDCANCEL;
    if (!layout.applicationWindow) {
        QWidget* owner = parent ? parent->Window() : QApplication::activeModalWidget();
        if (owner == nullptr && runningApplicationWindow != nullptr) {
            owner = runningApplicationWindow->Window();
        }
        if (owner != window->parentWidget() && owner != window.get()) {
            window->setParent(owner, window->windowFlags());
        }
        window->setModal(true);
    }
    CDialog* const outerApplicationWindow = runningApplicationWindow;
    if (layout.applicationWindow) {
        runningApplicationWindow = this;
    }
    running = true;
    const bool setFocus = OnInitDialog();
    if (ended) {
        running = false;
        runningApplicationWindow = outerApplicationWindow;
        KillAllTimers();
        OnModalEnded();
        return endResult;
    }
    // Once shown: take the activation and the focus, then let a test script
    // act (after the activation has been delivered).
    QTimer::singleShot(0, window.get(), [this, setFocus] {
        window->activateWindow();
        if (setFocus) {
            FocusFirstTabStop();
        }
        QTimer::singleShot(0, window.get(), [this] {
            if (CToolkitScript* s = CToolkitScript::Current(); s && s->onDialogShown && running && !ended) {
                s->onDialogShown(*this);
            }
        });
    });
    if (!ended && layout.applicationWindow) {
        // The application window runs its own loop: it is not modal, so the
        // window system lists it as an ordinary window.
        QEventLoop loop;
        applicationLoop = &loop;
        window->show();
        loop.exec(QEventLoop::DialogExec);
        applicationLoop = nullptr;
    } else if (!ended) {
        window->exec();
    }
    running = false;
    runningApplicationWindow = outerApplicationWindow;
    KillAllTimers();
    window->hide();
    OnModalEnded();
    return endResult;
}

void CDialog::EndDialog(int result)
{
    KillAllTimers();
    if (ended) {
        return;
    }
    ended = true;
    endResult = result;
    if (window->isVisible()) {
        window->EndModal(result);
    }
    if (applicationLoop != nullptr) {
        applicationLoop->exit(result);
    }
}

bool CDialog::OnInitDialog()
{
    FillLists();
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::OnClose()
{
    OnCancel();
}

void CDialog::OnTimer(int) {}

void CDialog::DoDataExchange(CDataExchange&) {}

void CDialog::OnModalEnded() {}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.failed;
}

void CDialog::SetTimer(int id, int milliseconds)
{
    KillTimer(id);
    timers[id] = window->startTimer(milliseconds);
}

void CDialog::KillTimer(int id)
{
    if (const auto it = timers.find(id); it != timers.end()) {
        window->killTimer(it->second);
        timers.erase(it);
    }
}

void CDialog::KillAllTimers()
{
    for (const auto& [id, qtId] : timers) {
        window->killTimer(qtId);
    }
    timers.clear();
}

void CDialog::DeliverTimer(int qtTimerId)
{
    for (const auto& [id, qtId] : timers) {
        if (qtId == qtTimerId) {
            OnTimer(id);
            return;
        }
    }
}

void CDialog::MapCommand(int id, std::function<void()> handler)
{
    commands[id] = std::move(handler);
}

void CDialog::RunCommand(int id)
{
    if (const auto it = commands.find(id); it != commands.end()) {
        it->second();
    } else if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    }
}

void CDialog::FocusFirstTabStop()
{
    for (const ControlLayout& c : layout.controls) {
        QWidget* w = GetDlgItem(c.id);
        if (c.tabStop && w && w->isEnabled()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

QWidget* CDialog::GetDlgItem(int id) const
{
    const auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second;
}

void CDialog::EnableControl(int id, bool enable)
{
    if (QWidget* w = GetDlgItem(id)) {
        w->setEnabled(enable);
    }
}

bool CDialog::IsControlEnabled(int id) const
{
    const QWidget* w = GetDlgItem(id);
    return w && w->isEnabled();
}

void CDialog::CheckRadioButton(int firstId, int lastId, int checkedId)
{
    for (int id = firstId; id <= lastId; ++id) {
        if (auto* radio = Control<QRadioButton>(id)) {
            QButtonGroup* group = radio->group();
            const bool exclusive = group && group->exclusive();
            if (group) {
                group->setExclusive(false);
            }
            radio->setChecked(id == checkedId);
            if (group) {
                group->setExclusive(exclusive);
            }
        }
    }
}

bool CDialog::IsRadioChecked(int id) const
{
    const auto* radio = Control<QRadioButton>(id);
    return radio && radio->isChecked();
}

std::string CDialog::GetControlText(int id) const
{
    if (const auto* e = Control<QLineEdit>(id)) {
        return e->text().toStdString();
    }
    if (const auto* l = Control<QLabel>(id)) {
        return l->text().toStdString();
    }
    if (const auto* b = Control<QAbstractButton>(id)) {
        return b->text().toStdString();
    }
    return {};
}

void CDialog::SetControlText(int id, const std::string& text)
{
    const QString t = QString::fromStdString(text);
    if (auto* e = Control<QLineEdit>(id)) {
        e->setText(t);
    } else if (auto* l = Control<QLabel>(id)) {
        l->setText(t);
    } else if (auto* b = Control<QAbstractButton>(id)) {
        b->setText(t);
    }
}

int CDialog::MessageBox(const std::string& text)
{
    return ShowMessageBox(window.get(), text);
}

QDialog* CDialog::Window() const
{
    return window.get();
}

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
    if (dx.failed) {
        return;
    }
    dx.lastControl = id;
    if (auto* edit = dx.dialog.Control<QLineEdit>(id)) {
        if (dx.saveAndValidate) {
            value = edit->text().toStdString();
        } else {
            edit->setText(QString::fromStdString(value));
        }
    }
}

void DDX_CBIndex(CDataExchange& dx, int id, std::int32_t& index)
{
    if (dx.failed) {
        return;
    }
    dx.lastControl = id;
    if (auto* combo = dx.dialog.Control<QComboBox>(id)) {
        if (dx.saveAndValidate) {
            index = combo->currentIndex();
        } else {
            combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
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
