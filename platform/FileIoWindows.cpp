// The file API of Windows: paths in UTF-8 here, UTF-16 for the system; every
// file opened as bytes (the C library's text mode would turn CRLF into LF and
// stop at ^Z); a save written beside the file, flushed and put in its place.

#include "FileIo.h"
#include "WindowsText.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

// The system's own separators: not every call takes '/' as well.
std::wstring Wide(const std::string& utf8)
{
    std::wstring wide = Utf16FromUtf8(utf8);
    for (wchar_t& c : wide)
        if (c == L'/')
            c = L'\\';
    return wide;
}

// Messages leave the file name to the caller, which knows what the user typed.
void SetError(std::string* error, const std::string& what, DWORD code)
{
    if (!error)
        return;
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = text ? Utf8FromUtf16(text) : "error " + std::to_string(code);
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    *error = what + ": " + reason;
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle()
    {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    bool Close()
    {
        const bool closed = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE h_;
};

bool WriteAll(HANDLE h, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

std::wstring DirectoryOf(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

// The file a path really names, links and junctions followed; the path itself
// when there is nothing to follow or the file does not exist yet.
std::wstring FinalPath(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return path;
    Handle h(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.ok())
        return path;
    std::vector<wchar_t> buffer(32768);
    const DWORD n = GetFinalPathNameByHandleW(h.get(), buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (n == 0 || n >= buffer.size())
        return path;
    return std::wstring(buffer.data(), n);
}

// A new file beside the target holding the bytes, flushed to disk.
bool WriteTemporary(const std::wstring& target, const std::string& bytes, std::wstring& temp, DWORD& code)
{
    const std::wstring dir = DirectoryOf(target);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temp = dir + L"\\.lsth-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64()) +
               L"-" + std::to_wstring(attempt) + L".tmp";
        Handle h(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.ok()) {
            code = GetLastError();
            if (code == ERROR_FILE_EXISTS)
                continue;
            return false;
        }
        const bool ok = WriteAll(h.get(), bytes) && FlushFileBuffers(h.get());
        code = GetLastError();
        if (!h.Close() || !ok) {
            DeleteFileW(temp.c_str());
            return false;
        }
        return true;
    }
    return false;
}

// For a file with other hard links: its own content replaced, the old bytes
// kept aside first and put back should the write fail.
bool WriteInPlace(const std::wstring& target, const std::string& bytes, std::string* error)
{
    std::string old;
    if (ReadFileLimited(Utf8FromUtf16(target), std::string::npos / 2, old, error) != FileReadStatus::Ok)
        return false;
    std::wstring backup;
    DWORD code = 0;
    if (!WriteTemporary(target, old, backup, code)) {
        SetError(error, "cannot copy the file aside", code);
        return false;
    }
    Handle h(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h.ok()) {
        SetError(error, "cannot open for writing", GetLastError());
        DeleteFileW(backup.c_str());
        return false;
    }
    const auto put = [&](const std::string& content) {
        LARGE_INTEGER zero{};
        return SetFilePointerEx(h.get(), zero, nullptr, FILE_BEGIN) && WriteAll(h.get(), content) &&
               SetEndOfFile(h.get()) && FlushFileBuffers(h.get());
    };
    if (put(bytes)) {
        DeleteFileW(backup.c_str());
        return true;
    }
    code = GetLastError();
    if (put(old)) {
        DeleteFileW(backup.c_str());
        SetError(error, "cannot write", code);
    } else {
        SetError(error, "cannot write; the old content is in " + Utf8FromUtf16(backup), code);
    }
    return false;
}

}  // namespace

FileReadStatus ReadFileLimited(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string* error)
{
    bytes.clear();
    const std::wstring wide = Wide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetError(error, "not a regular file", ERROR_DIRECTORY);
        return FileReadStatus::Unreadable;
    }
    Handle h(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.ok()) {
        const DWORD code = GetLastError();
        SetError(error, "cannot open", code);
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? FileReadStatus::Missing
                                                                            : FileReadStatus::Unreadable;
    }
    // Devices and pipes are not theme files; only disk files are read.
    if (GetFileType(h.get()) != FILE_TYPE_DISK) {
        SetError(error, "not a regular file", ERROR_INVALID_FUNCTION);
        return FileReadStatus::Unreadable;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(h.get(), &size) && static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        SetError(error, "larger than " + std::to_string(maxBytes) + " bytes", ERROR_FILE_TOO_LARGE);
        return FileReadStatus::TooLarge;
    }
    char chunk[16384];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(h.get(), chunk, sizeof chunk, &n, nullptr)) {
            SetError(error, "cannot read", GetLastError());
            bytes.clear();
            return FileReadStatus::Unreadable;
        }
        if (n == 0)
            break;
        if (bytes.size() + n > maxBytes) {
            SetError(error, "larger than " + std::to_string(maxBytes) + " bytes", ERROR_FILE_TOO_LARGE);
            bytes.clear();
            return FileReadStatus::TooLarge;
        }
        bytes.append(chunk, n);
    }
    return FileReadStatus::Ok;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error)
{
    const std::wstring target = FinalPath(Wide(path));
    WIN32_FILE_ATTRIBUTE_DATA old{};
    const bool exists = GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &old) != 0;
    if (exists && (old.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetError(error, "not a regular file", ERROR_DIRECTORY);
        return false;
    }
    // A read-only file is not replaced, though its folder would allow it.
    if (exists && (old.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) {
        SetError(error, "the file is read-only", ERROR_ACCESS_DENIED);
        return false;
    }
    if (exists) {
        // A file another program holds without sharing cannot be replaced:
        // say so before anything is written (some ReplaceFileW leave a file
        // of their own behind when they fail on it). The same handle tells
        // whether the file has other hard links, which a replacement would cut.
        Handle h(CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, 0, nullptr));
        if (!h.ok()) {
            SetError(error, "cannot write", GetLastError());
            return false;
        }
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileInformationByHandle(h.get(), &info) && info.nNumberOfLinks > 1) {
            h.Close();
            return WriteInPlace(target, bytes, error);
        }
    }
    std::wstring temp;
    DWORD code = 0;
    if (!WriteTemporary(target, bytes, temp, code)) {
        SetError(error, "cannot write", code);
        return false;
    }
    // ReplaceFileW keeps the old file's attributes and security; a new file
    // is moved into place.
    const bool placed = exists ? ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                              nullptr, nullptr) != 0
                               : MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    if (!placed) {
        code = GetLastError();
        DeleteFileW(temp.c_str());
        SetError(error, "cannot write", code);
        return false;
    }
    return true;
}
