#include "app/toolkit/Toolkit.h"

#include "app/toolkit/WindowPlacement.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStyle>

#include <algorithm>

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

namespace {

// The (description, patterns) pairs of a pipe-form filter.
std::vector<std::pair<QString, QString>> FilterEntries(const std::string& pipeFilter)
{
    const QStringList parts = QString::fromStdString(pipeFilter).split('|');
    std::vector<std::pair<QString, QString>> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            break;
        }
        entries.emplace_back(parts[i], parts[i + 1]);
    }
    return entries;
}

}  // namespace

QStringList QtFileFilters(const std::string& pipeFilter)
{
    QStringList filters;
    for (const auto& [description, patterns] : FilterEntries(pipeFilter)) {
        filters.append(description + QStringLiteral(" (") + QString(patterns).replace(';', ' ') + QStringLiteral(")"));
    }
    return filters;
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

std::string CFileDialog::DefaultExtensionFor(int index) const
{
    if (defaultExtension.empty()) {
        return {};
    }
    const auto entries = FilterEntries(filter);
    if (index < 1 || index > static_cast<int>(entries.size())) {
        return defaultExtension;
    }
    const QString first = entries[static_cast<std::size_t>(index - 1)].second.section(';', 0, 0);
    static const QRegularExpression kOneExtension(QStringLiteral("^\\*\\.([A-Za-z0-9]+)$"));
    const QRegularExpressionMatch match = kOneExtension.match(first);
    return match.hasMatch() ? match.captured(1).toStdString() : defaultExtension;
}

int CFileDialog::DoModal()
{
    if (CToolkitScript* script = CToolkitScript::Current()) {
        script->fileDialogs.push_back({openFileDialog, defaultExtension, flags, filter, initialFolder});
        const CToolkitScript::FileAnswer answer = script->TakeFileAnswer();
        if (!answer.path) {
            return 2;
        }
        filterIndex = answer.filterIndex;
        std::string path = *answer.path;
        if (!openFileDialog) {
            // As Qt's dialog: a name with no dot in it takes the extension.
            const std::string extension = DefaultExtensionFor(filterIndex);
            if (!extension.empty() && !QFileInfo(QString::fromStdString(path)).fileName().contains('.')) {
                path += "." + extension;
            }
            if ((flags & OFN_OVERWRITEPROMPT) != 0 && QFileInfo::exists(QString::fromStdString(path))) {
                script->overwriteQuestions.push_back(path);
                if (!script->answerOverwrite) {
                    return 2;
                }
            }
        }
        pathName = path;
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
    const QStringList filters = QtFileFilters(filter);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromStdString(DefaultExtensionFor(1)));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [this, &dialog, &filters](const QString& chosen) {
        dialog.setDefaultSuffix(
            QString::fromStdString(DefaultExtensionFor(static_cast<int>(filters.indexOf(chosen)) + 1)));
    });
    if (!initialFolder.empty()) {
        dialog.setDirectory(QString::fromStdString(initialFolder));
    }
    if (!fileName.empty()) {
        dialog.selectFile(QString::fromStdString(fileName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return 2;
    }
    filterIndex = std::max(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
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

CToolkitScript::FileAnswer CToolkitScript::TakeFileAnswer()
{
    if (nextAnswer >= fileAnswers.size()) {
        return {};
    }
    return fileAnswers[nextAnswer++];
}
