#include "app/toolkit/Dialog.h"

#include "app/toolkit/DialogWindow.h"
#include "app/toolkit/Toolkit.h"
#include "app/toolkit/WindowPlacement.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

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
