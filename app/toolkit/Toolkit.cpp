#include "app/toolkit/Toolkit.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {
CToolkitScript* currentScript = nullptr;
}

int ShowMessageBox(QWidget* owner, const std::string& text)
{
    if (CToolkitScript* script = CToolkitScript::Current()) {
        script->messages.push_back(text);
        if (script->onMessage) {
            script->onMessage(text);
        }
        return 1;
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kApplicationName), QString::fromStdString(text),
                    QMessageBox::Ok, owner);
    box.exec();
    return 1;
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

CFileDialog::CFileDialog(bool openFileDialog, std::string defaultExtension, std::string fileName, std::string filter,
                         QWidget* owner)
    : openFileDialog(openFileDialog),
      defaultExtension(std::move(defaultExtension)),
      fileName(std::move(fileName)),
      filter(std::move(filter)),
      owner(owner)
{
}

int CFileDialog::DoModal()
{
    if (CToolkitScript* script = CToolkitScript::Current()) {
        script->fileDialogs.push_back({openFileDialog, defaultExtension, filter, initialFolder});
        const auto answer = script->TakeFileAnswer();
        if (!answer) {
            return 2;
        }
        pathName = *answer;
        return 1;
    }
    QFileDialog dialog(owner ? owner : QApplication::activeModalWidget());
    dialog.setWindowTitle(openFileDialog ? QStringLiteral("Open") : QStringLiteral("Save As"));
    dialog.setAcceptMode(openFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(openFileDialog ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
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
