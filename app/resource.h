#pragma once
// Resource and control identifiers of the program; the numbers are part of its dialog templates.
// Each panel of the main window keeps its own at the top of its header, beside the class that
// handles them; the window's own are here.

#include "base/Identity.h"              // the program's icon
#include "controls/SkinDialog_win.h"    // the skinned frame: close and minimize, caption, boxes
#include "filelist/FileListPanel_win.h" // file list, filter, adding files, the selection commands
#include "engine/RunsPanel_win.h"       // rule editor, Preview, Rename, Undo, batch files, result log
#include "quickview/QuickViewPanel_win.h" // the quick view and its switch
#include "update/UpdatePanel_win.h"     // Online Update, web page, mail

#define IDD_MAIN                102

#define IDI_HELP_BUTTON         136
#define IDI_ABOUT               137

#define IDC_HELP_BUTTON         1017
#define IDC_ABOUT               1018
#define IDC_SHELL_CONTEXT       1039
