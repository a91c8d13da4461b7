/* A host written in plain C, as many examination hosts are: it loads SkorvinDLL.dll by
 * file name, implements the connection interface as a COM-style table of stdcall functions
 * over SQLite, and calls the two exports the way a 32-bit host calls them.
 *   c-host.exe <demo database>
 * It keys one score into the window (number, Enter, 12, Enter) and closes it, then checks
 * what a host relies on: GetVersion before any ShowForm, the host window disabled while the
 * score window is shown and active again afterwards, a call made with a stack aligned to 4
 * bytes only, two calls in a row, the x87 control word unchanged, and the score stored.
 * Prints one line per failed check and exits non-zero when any failed. */

#include <float.h>
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

/* ---- the connection interface, laid out as the library's C++ declares it ---------------- */

typedef struct RowSink RowSink;
typedef struct {
    void(__stdcall* columns)(RowSink* self, int count, const char* const* names);
    void(__stdcall* row)(RowSink* self, int count, const char* const* values, const int* lengths);
    void(__stdcall* lossyRow)(RowSink* self, int count, const char* const* values, const int* lengths,
                              const unsigned char* lossy);
} RowSinkTable;
struct RowSink {
    const RowSinkTable* table;
};

typedef struct Connection Connection;
typedef struct {
    int(__stdcall* execute)(Connection* self, const char* sql, int paramCount, const char* const* params);
    int(__stdcall* query)(Connection* self, const char* sql, int paramCount, const char* const* params, RowSink* sink);
    const char*(__stdcall* errorText)(Connection* self);
} ConnectionTable;
struct Connection {
    const ConnectionTable* table; /* first, as a C++ object's table pointer is */
    sqlite3* db;
    char error[512];
    int queries;
    long rows;
    char unscored[64]; /* an admission number the window lists without a score */
};

enum { kFailed = -2 };

static int failures = 0;

static void check(int ok, const char* what)
{
    if (!ok) {
        printf("FAILED: %s\n", what);
        ++failures;
    }
}

/* GBK (code page 936) <-> UTF-8, through UTF-16; the caller frees the result. */
static char* convert(const char* text, int length, UINT from, UINT to, int* outLength)
{
    int wide = MultiByteToWideChar(from, 0, text, length, NULL, 0);
    WCHAR* buffer = (WCHAR*)malloc(sizeof(WCHAR) * (size_t)(wide + 1));
    MultiByteToWideChar(from, 0, text, length, buffer, wide);
    int bytes = WideCharToMultiByte(to, 0, buffer, wide, NULL, 0, NULL, NULL);
    char* result = (char*)malloc((size_t)bytes + 1);
    WideCharToMultiByte(to, 0, buffer, wide, result, bytes, NULL, NULL);
    result[bytes] = '\0';
    free(buffer);
    if (outLength)
        *outLength = bytes;
    return result;
}

static sqlite3_stmt* prepare(Connection* self, const char* sql, int paramCount, const char* const* params)
{
    char* utf8 = convert(sql, -1, 936, CP_UTF8, NULL);
    sqlite3_stmt* statement = NULL;
    int rc = sqlite3_prepare_v2(self->db, utf8, -1, &statement, NULL);
    free(utf8);
    if (rc != SQLITE_OK) {
        snprintf(self->error, sizeof self->error, "%s", sqlite3_errmsg(self->db));
        return NULL;
    }
    for (int i = 0; i < paramCount; ++i) {
        if (!params[i]) {
            sqlite3_bind_null(statement, i + 1);
            continue;
        }
        int length = 0;
        char* value = convert(params[i], -1, 936, CP_UTF8, &length);
        sqlite3_bind_text(statement, i + 1, value, length - 1, SQLITE_TRANSIENT); /* without the NUL */
        free(value);
    }
    return statement;
}

static int __stdcall connectionExecute(Connection* self, const char* sql, int paramCount, const char* const* params)
{
    sqlite3_stmt* statement = prepare(self, sql, paramCount, params);
    if (!statement)
        return kFailed;
    int rc = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        snprintf(self->error, sizeof self->error, "%s", sqlite3_errmsg(self->db));
        return kFailed;
    }
    return sqlite3_changes(self->db);
}

static int __stdcall connectionQuery(Connection* self, const char* sql, int paramCount, const char* const* params,
                                     RowSink* sink)
{
    sqlite3_stmt* statement = prepare(self, sql, paramCount, params);
    if (!statement)
        return kFailed;
    ++self->queries;
    int count = sqlite3_column_count(statement);
    const char** texts = (const char**)calloc((size_t)count + 1, sizeof(char*));
    int* lengths = (int*)calloc((size_t)count + 1, sizeof(int));
    int numberColumn = -1, scoreColumn = -1;
    for (int i = 0; i < count; ++i) {
        texts[i] = sqlite3_column_name(statement, i);
        if (_stricmp(texts[i], "zkzh") == 0)
            numberColumn = i;
        if (_stricmp(texts[i], "tttt") == 0)
            scoreColumn = i;
    }
    sink->table->columns(sink, count, texts);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int i = 0; i < count; ++i) {
            if (sqlite3_column_type(statement, i) == SQLITE_NULL) {
                texts[i] = NULL;
                lengths[i] = 0;
                continue;
            }
            const char* utf8 = (const char*)sqlite3_column_text(statement, i);
            texts[i] = convert(utf8, sqlite3_column_bytes(statement, i), CP_UTF8, 936, &lengths[i]);
        }
        if (numberColumn >= 0 && scoreColumn >= 0 && texts[scoreColumn] == NULL && !self->unscored[0] &&
            lengths[numberColumn] < (int)sizeof self->unscored)
            memcpy(self->unscored, texts[numberColumn], (size_t)lengths[numberColumn]);
        sink->table->row(sink, count, texts, lengths);
        for (int i = 0; i < count; ++i)
            free((void*)texts[i]);
        ++self->rows;
    }
    free(texts);
    free(lengths);
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
        snprintf(self->error, sizeof self->error, "%s", sqlite3_errmsg(self->db));
        return kFailed;
    }
    return 0;
}

static const char* __stdcall connectionErrorText(Connection* self)
{
    return self->error;
}

static const ConnectionTable kConnectionTable = {connectionExecute, connectionQuery, connectionErrorText};

/* ---- the operator: a timer on the host window that plays the keys ------------------------ */

typedef void(__stdcall* ShowFormProc)(UINT_PTR, UINT_PTR, UINT_PTR, UINT_PTR, UINT_PTR, UINT_PTR, UINT_PTR,
                                      Connection*);

static HWND hostWindow;
static Connection connection;
static int step;
static int keyScore;
static int hostDisabledWhileShown = -1;

static BOOL CALLBACK findScoreWindow(HWND window, LPARAM found)
{
    WCHAR title[64];
    if (window != hostWindow && IsWindowVisible(window) && GetWindowTextW(window, title, 64) > 0 &&
        wcsncmp(title, L"\x56db\x7ea7\x4e3b\x89c2\x9898\x767b\x5206", 7) == 0) { /* 四级主观题登分 */
        *(HWND*)found = window;
        return FALSE;
    }
    return TRUE;
}

static void typeText(const char* text)
{
    for (const char* c = text; *c; ++c) {
        INPUT input[2];
        memset(input, 0, sizeof input);
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = (WORD)(*c == '\r' ? VK_RETURN : VkKeyScanA(*c) & 0xff);
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
}

/* Every 500 ms: wait for the window, key the score once, then close the window. */
static void CALLBACK operatorTick(HWND window, UINT message, UINT_PTR id, DWORD time)
{
    (void)window, (void)message, (void)id, (void)time;
    HWND scoreWindow = NULL;
    EnumThreadWindows(GetCurrentThreadId(), findScoreWindow, (LPARAM)&scoreWindow);
    if (!scoreWindow)
        return;
    ++step;
    if (step == 4) { /* the window has been shown for a moment */
        hostDisabledWhileShown = !IsWindowEnabled(hostWindow);
        SetForegroundWindow(scoreWindow);
        if (keyScore && connection.unscored[0]) {
            char keys[80];
            snprintf(keys, sizeof keys, "%s\r12\r", connection.unscored);
            typeText(keys);
        }
    } else if (step == 10) {
        PostMessageW(scoreWindow, WM_CLOSE, 0, 0);
    }
}

/* ShowForm called with the stack 4-byte aligned but not 16-byte aligned, as a host built by
 * an older compiler calls it: the entry point must realign it itself. */
static void showFormMisaligned(ShowFormProc showForm, HWND window, Connection* c)
{
    ShowFormProc entry = showForm;
    void* owner = window;
    void* borrowed = c;
    __asm__ volatile("movl %%esp, %%esi\n\t"
                     "andl $-16, %%esp\n\t"
                     "subl $8, %%esp\n\t" /* 8 mod 16 before the call: 4-byte aligned only */
                     "pushl %%edx\n\t"
                     "pushl $0\n\tpushl $0\n\tpushl $0\n\tpushl $0\n\tpushl $0\n\tpushl $0\n\t"
                     "pushl %%ecx\n\t"
                     "call *%%eax\n\t"
                     "movl %%esi, %%esp\n\t"
                     : "+a"(entry), "+c"(owner), "+d"(borrowed)
                     :
                     : "esi", "memory", "cc");
}

static void runWindow(ShowFormProc showForm, int misaligned, int withScore)
{
    step = 0;
    keyScore = withScore;
    hostDisabledWhileShown = -1;
    unsigned int before = _controlfp(0, 0);
    UINT_PTR timer = SetTimer(hostWindow, 1, 500, operatorTick);
    if (misaligned)
        showFormMisaligned(showForm, hostWindow, &connection);
    else
        showForm((UINT_PTR)hostWindow, 0, 0, 0, 0, 0, 0, &connection);
    KillTimer(hostWindow, timer);
    check(step >= 10, "the score window was shown and closed");
    check(hostDisabledWhileShown == 1, "the host window is disabled while the score window is shown");
    check(IsWindowEnabled(hostWindow), "the host window is enabled again after ShowForm");
    check(GetActiveWindow() == hostWindow, "the host window is active again after ShowForm");
    check(_controlfp(0, 0) == before, "the x87 control word is the host's after ShowForm");
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: c-host <demo database>\n");
        return 2;
    }
    connection.table = &kConnectionTable;
    if (sqlite3_open(argv[1], &connection.db) != SQLITE_OK) {
        fprintf(stderr, "cannot open %s\n", argv[1]);
        return 2;
    }
    HMODULE library = LoadLibraryA("SkorvinDLL.dll");
    check(library != NULL, "SkorvinDLL.dll loads by file name");
    if (!library)
        return 1;
    typedef const char*(__stdcall * GetVersionProc)(void);
    GetVersionProc getVersion = NULL;
    ShowFormProc showForm = NULL;
    /* FARPROC stands for any entry; its real type is taken over bit for bit. */
    FARPROC found = GetProcAddress(library, "GetVersion");
    memcpy(&getVersion, &found, sizeof found);
    found = GetProcAddress(library, "ShowForm");
    memcpy(&showForm, &found, sizeof found);
    check(getVersion && showForm, "GetVersion and ShowForm are found by name");
    if (!getVersion || !showForm)
        return 1;
    check(strcmp(getVersion(), "3.00") == 0, "GetVersion before any ShowForm answers 3.00");

    WNDCLASSW windowClass;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(NULL);
    windowClass.lpszClassName = L"SkorvinCHost";
    RegisterClassW(&windowClass);
    hostWindow = CreateWindowW(L"SkorvinCHost", L"C host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, NULL, NULL,
                               windowClass.hInstance, NULL);
    ShowWindow(hostWindow, SW_SHOW);
    SetActiveWindow(hostWindow);
    /* A host that computes in double precision with its own rounding. */
    _controlfp(_PC_53 | _RC_UP, _MCW_PC | _MCW_RC);

    runWindow(showForm, 1, 1);
    check(connection.queries > 0 && connection.rows > 0, "the window read its rows through the C connection");
    check(connection.unscored[0] != 0, "the list held a candidate without a score");
    runWindow(showForm, 0, 0);

    sqlite3_stmt* statement = NULL;
    sqlite3_prepare_v2(connection.db, "select tttt from t_omr where zkzh=?", -1, &statement, NULL);
    sqlite3_bind_text(statement, 1, connection.unscored, -1, SQLITE_STATIC);
    int stored = sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0) &&
                 atof((const char*)sqlite3_column_text(statement, 0)) == 12.0;
    sqlite3_finalize(statement);
    check(stored, "the keyed score 12 is stored for the candidate");
    sqlite3_close(connection.db);
    printf("%s: %d failed\n", failures ? "C host FAILED" : "C host passed", failures);
    return failures ? 1 : 0;
}
