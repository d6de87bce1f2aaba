#pragma once

#include "app/MethodChoice.h"
#include "app/toolkit/Dialog.h"
#include "ringing/MethodCatalogue.h"

#include <optional>
#include <string>

// Control ids of the Method dialog (layout 116).
namespace MethodDlgIds {
inline constexpr int kLayout = 116;
inline constexpr int kFind = 1201;
inline constexpr int kMethods = 1202;
inline constexpr int kLibrary = 1203;
inline constexpr int kPlaceNotation = 1204;
inline constexpr int kStage = 1205;
inline constexpr int kBob = 1206;
inline constexpr int kSingle = 1207;
inline constexpr int kCalls = 1208;
inline constexpr int kCalling = 1209;
inline constexpr int kParts = 1210;
inline constexpr int kWholeTouch = 1211;
inline constexpr int kEven = 1212;
inline constexpr int kLikeABand = 1213;
inline constexpr int kRms = 1214;
inline constexpr int kOddBell = 1215;  // "None", "1" .. "16"
inline constexpr int kLate = 1216;
inline constexpr int kStroke = 1217;  // "Both", "Hand", "Back"
inline constexpr int kProof = 1218;
inline constexpr int kClear = 1219;
}  // namespace MethodDlgIds

// DoModal's result after "Clear": back to the five styles.
inline constexpr int kMethodCleared = 3;
// The file choice of "Library...": the collections' XML.
inline constexpr const char* kLibraryFileFilter = "Method libraries (.xml)|*.xml|";
// The proof line follows the edits once they pause for this long.
inline constexpr int kProofDelayMs = 150;

// The Method dialog: chooses what "Generate Output" rings instead of a
// style: a method from the list (the catalogue, filtered as the user types)
// or by place notation, its calls, a touch (calls or calling positions, with
// parts, or the plain course; the whole touch or the main dialog's length),
// and the striking. It shows the touch's proof as the user edits, and OK
// refuses, with the command line's message, whatever the command line would
// refuse. It takes the choice to show in and hands the answer out; the
// caller rings it.
//
// DoModal: IDOK with Choice() set, IDCANCEL (nothing changes), or
// kMethodCleared. "Library..." adds a library file's methods to the
// catalogue, which keeps them for as long as its owner does.
//
// Thread: user-interface thread only. The catalogue must outlive the dialog.
class CMethodDlg : public CDialog {
public:
    CMethodDlg(const MethodForm& form, MethodCatalogue& catalogue, CDialog* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;
    void OnTimer(int id) override;

    // After IDOK: the form as left, read and proved.
    const std::optional<MethodChoice>& Choice() const { return choice; }
    // The library file "Library..." read last in this dialog; empty if none.
    const std::string& LibraryFile() const { return libraryFile; }

private:
    void OnFindChanged();
    void OnMethodChosen();
    void OnLibrary();
    void OnClear();
    void ScheduleProof();
    // Fills the list with the titles that contain the Find text, keeping the
    // chosen title chosen when it is among them.
    void FillMethods();

    MethodForm form;
    MethodCatalogue& catalogue;
    std::optional<MethodChoice> choice;
    std::string libraryFile;
    bool restoring = false;  // list changes made by the dialog itself fill nothing in
};
