# cmake -DOBJDUMP=... -DLIBRARY=SkorvinDLL.dll -P CheckImports.cmake
cmake_policy(SET CMP0057 NEW)
# A site copies the one file beside its host: every DLL it imports must be part of Windows
# itself (Qt and the compiler's runtime are linked in).
set(windows_dlls ADVAPI32 COMCTL32 COMDLG32 DWMAPI GDI32 IMM32 KERNEL32 MPR MSVCRT NETAPI32 ODBC32 OLE32 OLEAUT32
    SETUPAPI SHELL32 SHLWAPI USER32 USERENV UXTHEME VERSION WINMM WINSPOOL WS2_32 WTSAPI32 CRYPT32 DWRITE D3D9)

execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} -p ${LIBRARY} failed")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
list(TRANSFORM imports REPLACE "^DLL Name: " "")
if(NOT imports)
  message(FATAL_ERROR "no import table read from ${LIBRARY}")
endif()
foreach(import ${imports})
  string(TOUPPER "${import}" name)
  string(REGEX REPLACE "\\.(DLL|DRV)$" "" name "${name}")
  if(NOT name IN_LIST windows_dlls)
    message(FATAL_ERROR "${LIBRARY} imports ${import}, which is not part of Windows")
  endif()
endforeach()
message(STATUS "imports: ${imports}")
