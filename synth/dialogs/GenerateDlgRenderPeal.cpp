#include "synth/RenderPeal.h"
#include "synth/dialogs/GenerateDlg.h"

// Kept apart so that programs which inject their own render function do not
// need the renderer linked in.
CGenerateDlg::CGenerateDlg(CDialog* parent) : CGenerateDlg(&RenderPeal, parent) {}
