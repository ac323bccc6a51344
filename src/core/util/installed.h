// A process-wide service (the operator interface, the clock, the preference store) that a
// caller may replace for a while: by default a built-in instance, otherwise the one a Scope
// installed.
#pragma once

namespace vxl {

template <typename T>
class Installed {
  public:
    // The installed instance, or `fallback` when none is installed.
    static T& Get(T& fallback) { return current_ ? *current_ : fallback; }

    // Installs an instance for the lifetime of this object.
    class Scope {
      public:
        explicit Scope(T& instance) : previous_(current_) { current_ = &instance; }
        ~Scope() { current_ = previous_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        T* previous_;
    };

  private:
    static inline T* current_ = nullptr;
};

}  // namespace vxl
