#pragma once

#include <string>

namespace velawidget {

/// A shared library opened when a feature first needs it rather than by the
/// dynamic loader at process start. Every library a process loads at start
/// is searched in every later symbol look-up, its own relocations and those
/// of each plugin Qt opens; the URL opener's GIO (seven libraries) and the
/// QR encoder serve one tap each and are left out until that tap.
///
/// Opened with its symbols kept local and never closed: GIO registers types
/// that cannot be unregistered, and a symbol handed out stays valid.
class LoadedLibrary {
  public:
    explicit LoadedLibrary(const char* soname);
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool loaded() const { return handle_ != nullptr; }
    /// Why the library or a symbol is missing, for the debug log.
    const std::string& error() const { return error_; }

    /// The function `name` as a pointer of type `F*`, or null (and `error()`
    /// says why).
    template <typename F>
    F* function(const char* name) {
        return reinterpret_cast<F*>(symbol(name));
    }

    /// Sets `target` to the function `name`, typed as `target` is declared
    /// (say from the library's own header), or to null.
    template <typename F>
    void bind(F*& target, const char* name) {
        target = function<F>(name);
    }

  private:
    void* symbol(const char* name);

    void* handle_ = nullptr;
    std::string error_;
};

}  // namespace velawidget
