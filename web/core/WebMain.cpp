// The WebAssembly module's entry points: one editor, requests in and
// answers out as JSON text, pixels through a buffer the page reads.

#include "WebEditor.h"

#include <emscripten/emscripten.h>
#include <sys/stat.h>

#include <memory>

namespace {

WebEditor& Editor()
{
    static std::unique_ptr<WebEditor> editor = [] {
        // The in-memory file system starts with a mask that makes every new
        // file unreadable; files here are written and read back at once.
        umask(022);
        return std::make_unique<WebEditor>();
    }();
    return *editor;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* lw_request(const char* json) { return Editor().Handle(json).c_str(); }

EMSCRIPTEN_KEEPALIVE const std::uint8_t* lw_buffer() { return Editor().Buffer().data(); }

EMSCRIPTEN_KEEPALIVE int lw_buffer_size() { return static_cast<int>(Editor().Buffer().size()); }

}
