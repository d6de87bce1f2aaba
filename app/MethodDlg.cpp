#include "app/MethodDlg.h"

#include "app/toolkit/Toolkit.h"

#include <string>

using namespace MethodDlgIds;

namespace {

constexpr int kProofTimer = 1;

}  // namespace

CMethodDlg::CMethodDlg(const MethodForm& form, MethodCatalogue& catalogue, CDialog* parent)
    : CDialog(kLayout, parent),
      form(form),
      catalogue(catalogue)
{
    MapChange(kFind, &CMethodDlg::OnFindChanged);
    MapChange(kMethods, &CMethodDlg::OnMethodChosen);
    MapCommand(kLibrary, &CMethodDlg::OnLibrary);
    MapCommand(kClear, &CMethodDlg::OnClear);
    for (const int id : {kPlaceNotation, kStage, kBob, kSingle, kCalls, kCalling, kParts})
        MapChange(id, &CMethodDlg::ScheduleProof);
}

bool CMethodDlg::OnInitDialog()
{
    restoring = true;
    CDialog::OnInitDialog();
    FillMethods();
    restoring = false;
    ScheduleProof();
    return true;
}

void CMethodDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, kFind, form.find);
    DDX_Text(dx, kPlaceNotation, form.placeNotation);
    DDX_Text(dx, kStage, form.stage);
    DDX_Text(dx, kBob, form.bob);
    DDX_Text(dx, kSingle, form.single);
    DDX_Text(dx, kCalls, form.calls);
    DDX_Text(dx, kCalling, form.calling);
    DDX_Text(dx, kParts, form.parts);
    DDX_Check(dx, kWholeTouch, form.wholeTouch);
    if (dx.saveAndValidate)
        form.likeABand = IsRadioChecked(kLikeABand);
    else
        CheckRadioButton(kEven, kLikeABand, form.likeABand ? kLikeABand : kEven);
    DDX_Text(dx, kRms, form.rmsMilliseconds);
    DDX_CBIndex(dx, kOddBell, form.oddBell);
    DDX_Text(dx, kLate, form.lateMilliseconds);
    DDX_CBIndex(dx, kStroke, form.oddStroke);
    if (dx.saveAndValidate) {
        form.oddBell = std::max(form.oddBell, 0);
        form.oddStroke = std::max(form.oddStroke, 0);
    }
}

void CMethodDlg::FillMethods()
{
    std::vector<std::string> titles;
    std::size_t chosen = 0;
    const auto found = catalogue.Search(GetControlText(kFind));
    titles.reserve(found.size());
    for (const MethodEntry* method : found) {
        if (method->title == form.title)
            chosen = titles.size() + 1;
        titles.emplace_back(method->title);
    }
    const bool wasRestoring = restoring;
    restoring = true;
    SetListItems(kMethods, std::move(titles));
    SetListSelection(kMethods, static_cast<int>(chosen) - 1);
    restoring = wasRestoring;
}

void CMethodDlg::OnFindChanged()
{
    if (!restoring)
        FillMethods();
}

void CMethodDlg::OnMethodChosen()
{
    const int index = GetListSelection(kMethods);
    if (restoring || index < 0)
        return;
    const MethodEntry* method = catalogue.Find(GetListItem(kMethods, index));
    if (method == nullptr)
        return;
    form.title = std::string(method->title);
    SetControlText(kPlaceNotation, std::string(method->notation));
    SetControlText(kStage, std::to_string(method->stage));
    SetControlText(kBob, std::string(method->bob));
    SetControlText(kSingle, std::string(method->single));
}

void CMethodDlg::OnLibrary()
{
    CFileDialog open(true, "", "", OFN_EXPLORER | OFN_FILEMUSTEXIST, kLibraryFileFilter, Window());
    if (open.DoModal() != IDOK)
        return;
    MethodLibrary library;
    {
        CWaitCursor wait;
        library = ReadMethodLibraryFile(open.GetPathName());
    }
    if (!library.fault.empty()) {
        MessageBox(library.fault);
        return;
    }
    const std::size_t skipped = library.skipped.size();
    const std::string first = skipped > 0 ? library.skipped.front() : std::string();
    catalogue.AddLibrary(std::move(library.methods));
    libraryFile = open.GetPathName();
    FillMethods();
    if (skipped > 0)
        MessageBox(std::to_string(skipped) + (skipped == 1 ? " method" : " methods") + " of " + libraryFile +
                   (skipped == 1 ? " could not be read and is left out: "
                                 : " could not be read and are left out; the first: ") +
                   first);
}

void CMethodDlg::OnClear()
{
    EndDialog(kMethodCleared);
}

void CMethodDlg::ScheduleProof()
{
    SetTimer(kProofTimer, kProofDelayMs);
}

void CMethodDlg::OnTimer(int id)
{
    KillTimer(id);
    UpdateData(true);
    SetElidedText(kProof, ProofLineFor(form, catalogue));
}

void CMethodDlg::OnOK()
{
    UpdateData(true);
    MethodChoiceRead read = ReadMethodChoice(form, catalogue);
    if (!read.fault.empty()) {
        MessageBox(read.fault);
        return;
    }
    choice = std::move(read.choice);
    EndDialog(IDOK);
}
