#include "app/toolkit/Toolkit.h"

#include "app/toolkit/WindowPlacement.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QMessageBox>
#include <QStyle>

namespace {

CToolkitScript* currentScript = nullptr;

// Qt's file dialog, refusing a name in a folder that does not exist when
// OFN_PATHMUSTEXIST asks for it.
class FileChoiceWindow : public QFileDialog {
public:
    FileChoiceWindow(QWidget* parent, unsigned flags) : QFileDialog(parent), flags(flags) {}

    void accept() override
    {
        const QStringList chosen = selectedFiles();
        if ((flags & OFN_PATHMUSTEXIST) != 0 && !chosen.isEmpty()) {
            const QFileInfo file(chosen.first());
            if (!file.isDir() && !file.absoluteDir().exists()) {
                ShowMessageBox(this, "The folder " + file.absolutePath().toStdString() +
                                         " does not exist.\nCheck the path and try again.");
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    const unsigned flags;
};

}  // namespace

int ShowMessageBox(QWidget* owner, const std::string& text)
{
    if (CToolkitScript* script = CToolkitScript::Current()) {
        script->messages.push_back(text);
        if (script->onMessage) {
            script->onMessage(text);
        }
        return 1;
    }
    // An owner not shown yet has no place to be centred over: the box goes
    // to the nearest of its owners that is shown.
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kApplicationName), QString::fromStdString(text),
                    QMessageBox::Ok, VisibleOwnerWindow(owner));
    // The box sizes itself to its contents whenever it lays them out; its
    // row of buttons spans the whole box, so a wide enough row keeps the
    // caption whole.
    if (auto* buttons = box.findChild<QDialogButtonBox*>()) {
        const QMargins margins = box.layout() != nullptr ? box.layout()->contentsMargins() : QMargins();
        buttons->setMinimumWidth(MinimumWidthForCaption(box.windowTitle()) - margins.left() - margins.right());
    }
    KeepCentred(&box);
    box.exec();
    return 1;
}

int MinimumWidthForCaption(const QString& caption)
{
    QFont font = QApplication::font();
    font.setBold(true);
    constexpr int kButtonsAtEitherEnd = 3;
    const int button = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return QFontMetrics(font).horizontalAdvance(caption) + 2 * kButtonsAtEitherEnd * button;
}

QString QtFileFilter(const std::string& pipeFilter)
{
    const QStringList parts = QString::fromStdString(pipeFilter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            break;
        }
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters.append(parts[i] + QStringLiteral(" (") + patterns + QStringLiteral(")"));
    }
    return filters.join(QStringLiteral(";;"));
}

CFileDialog::CFileDialog(bool openFileDialog, std::string defaultExtension, std::string fileName, unsigned flags,
                         std::string filter, QWidget* owner)
    : openFileDialog(openFileDialog),
      defaultExtension(std::move(defaultExtension)),
      fileName(std::move(fileName)),
      flags(flags),
      filter(std::move(filter)),
      owner(owner)
{
}

int CFileDialog::DoModal()
{
    if (CToolkitScript* script = CToolkitScript::Current()) {
        script->fileDialogs.push_back({openFileDialog, defaultExtension, flags, filter, initialFolder});
        const auto answer = script->TakeFileAnswer();
        if (!answer) {
            return 2;
        }
        pathName = *answer;
        return 1;
    }
    FileChoiceWindow dialog(owner ? owner : QApplication::activeModalWidget(), flags);
    KeepCentred(&dialog);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (flags & OFN_OVERWRITEPROMPT) == 0);
    dialog.setWindowTitle(openFileDialog ? QStringLiteral("Open") : QStringLiteral("Save As"));
    dialog.setAcceptMode(openFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    const bool mustExist = openFileDialog && (flags & OFN_FILEMUSTEXIST) != 0;
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(QtFileFilter(filter));
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    if (!initialFolder.empty()) {
        dialog.setDirectory(QString::fromStdString(initialFolder));
    }
    if (!fileName.empty()) {
        dialog.selectFile(QString::fromStdString(fileName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return 2;
    }
    pathName = dialog.selectedFiles().first().toStdString();
    return 1;
}

CWaitCursor::CWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

CToolkitScript::CToolkitScript()
{
    currentScript = this;
}

CToolkitScript::~CToolkitScript()
{
    if (currentScript == this) {
        currentScript = nullptr;
    }
}

CToolkitScript* CToolkitScript::Current()
{
    return currentScript;
}

std::optional<std::string> CToolkitScript::TakeFileAnswer()
{
    if (nextAnswer >= fileAnswers.size()) {
        return std::nullopt;
    }
    return fileAnswers[nextAnswer++];
}
