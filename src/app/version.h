#pragma once
// The version of the program, shared by the C++ code and the resource
// script so that the About box and the version record cannot differ.
#define VELMORA_VERSION_TEXT "2, 0, 0, 24"
#define VELMORA_VERSION_NUMBERS 2, 0, 0, 24
#define VELMORA_PRODUCT_LINE "Velmora Tarn Parser 2.0"
#define VELMORA_NOTICE_LINE "Copyright (C) 2026 Velmora. All rights reserved."
#define VELMORA_FILE_DESCRIPTION "Velmora Data Parser"
#define VELMORA_ICON_RESOURCE 128
