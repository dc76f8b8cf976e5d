#pragma once
#include "masterdata/CodeTree.h"
#include "masterdata/MasterDataMember.h"

class QMdiArea;
class QWidget;

// How the main window opens the reference lists and the coded trees. Each call first tests the
// rights position of the list with CheckRight (which tells the user when it is missing). Colour,
// store, vendor and customer lists open as modal windows in front of the owner and are freed
// when closed; the others, and both trees, are child windows of the MDI area, one per kind,
// brought to the front when opened again (with no area: windows of their own, kept hidden when
// closed). Returns the window, or nullptr when nothing was opened.
QWidget *OpenMasterDataList(MasterDataKind kind, QWidget *owner, QMdiArea *mdi);
QWidget *OpenCodeTree(CodeTreeKind kind, QWidget *owner, QMdiArea *mdi);
