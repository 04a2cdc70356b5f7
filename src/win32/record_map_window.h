#pragma once
// The record map control's window class: it paints a MappedBytes in rows
// of hexadecimal and text, a legend above them (and a ruler for fixed-length
// records), each field's bytes on its shade and the selected field's
// highlighted. A click or an arrow key moves the caret and selects the
// byte's field; its window text is the field's accessible text, which
// screen readers and the test driver read.
#include <windows.h>

namespace velmora {

constexpr const char* kRecordMapClass = "VelmoraRecordMap";

// Messages of the control.
constexpr UINT kMapSetBytes = WM_APP + 1;      // lParam: const MappedBytes*, nullptr for none
constexpr UINT kMapSelectField = WM_APP + 2;   // wParam: the field, -1 for none; no notification
constexpr UINT kMapGetSelection = WM_APP + 3;  // lParam: MapSelection* to fill
// wParam: a byte; scrolls it into view and answers the centre of its
// hexadecimal in the client area, as MAKELRESULT(x, y).
constexpr UINT kMapBytePoint = WM_APP + 4;

// The WM_COMMAND notification of a selection the user made.
constexpr WORD kMapSelectionChanged = 1;

// Registers the class once; before a template names it.
void registerRecordMapClass();

}  // namespace velmora
