// The driver manager's API. On Windows its headers need <windows.h> first;
// this is the one place in the engine's ODBC code that includes either.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>
