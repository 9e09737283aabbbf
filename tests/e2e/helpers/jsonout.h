/* JSON-lines output shared by the end-to-end helper programs.
   Writes raw UTF-8 bytes to the standard output handle, so a pipe on the Unix side receives
   exactly what was written, whatever the console code page. */
#ifndef VARNEL_E2E_JSONOUT_H
#define VARNEL_E2E_JSONOUT_H

#include <windows.h>

#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

typedef struct JsonLine {
    char text[16384];
    size_t length;
    int fieldCount;
} JsonLine;

static inline void json_raw(JsonLine* line, const char* bytes, size_t count) {
    if (line->length + count >= sizeof(line->text)) {
        count = sizeof(line->text) - 1 - line->length;
    }
    memcpy(line->text + line->length, bytes, count);
    line->length += count;
    line->text[line->length] = '\0';
}

static inline void json_rawf(JsonLine* line, const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    int count = vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (count > 0) {
        json_raw(line, buffer, (size_t)count < sizeof(buffer) ? (size_t)count : sizeof(buffer) - 1);
    }
}

static inline void json_begin(JsonLine* line) {
    line->length = 0;
    line->fieldCount = 0;
    json_raw(line, "{", 1);
}

static inline void json_key(JsonLine* line, const char* key) {
    json_rawf(line, "%s\"%s\":", line->fieldCount++ ? "," : "", key);
}

static inline void json_utf8_string(JsonLine* line, const char* utf8) {
    json_raw(line, "\"", 1);
    for (const unsigned char* c = (const unsigned char*)utf8; *c; ++c) {
        if (*c == '"' || *c == '\\') {
            char escaped[2] = {'\\', (char)*c};
            json_raw(line, escaped, 2);
        } else if (*c < 0x20) {
            json_rawf(line, "\\u%04x", *c);
        } else {
            json_raw(line, (const char*)c, 1);
        }
    }
    json_raw(line, "\"", 1);
}

static inline void json_wide(JsonLine* line, const char* key, const wchar_t* text) {
    char utf8[8192];
    int count = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), NULL, NULL);
    if (count <= 0) {
        utf8[0] = '\0';
    }
    json_key(line, key);
    json_utf8_string(line, utf8);
}

static inline void json_text(JsonLine* line, const char* key, const char* utf8) {
    json_key(line, key);
    json_utf8_string(line, utf8);
}

static inline void json_int(JsonLine* line, const char* key, long long value) {
    json_key(line, key);
    json_rawf(line, "%lld", value);
}

static inline void json_bool(JsonLine* line, const char* key, BOOL value) {
    json_key(line, key);
    json_raw(line, value ? "true" : "false", value ? 4 : 5);
}

static inline void json_handle(JsonLine* line, const char* key, HWND window) {
    json_int(line, key, (long long)(ULONG_PTR)window);
}

static inline void json_rect(JsonLine* line, const char* key, RECT rect) {
    json_key(line, key);
    json_rawf(line, "[%ld,%ld,%ld,%ld]", rect.left, rect.top, rect.right, rect.bottom);
}

static inline void write_stdout(const char* bytes, size_t count) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes, (DWORD)count, &written, NULL);
}

static inline void json_end(JsonLine* line) {
    json_raw(line, "}\n", 2);
    write_stdout(line->text, line->length);
}

static inline void json_error(const char* message) {
    JsonLine line;
    json_begin(&line);
    json_text(&line, "error", message);
    json_end(&line);
}

#endif
