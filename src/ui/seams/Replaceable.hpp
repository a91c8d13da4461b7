#pragma once

namespace skorvin::ui {

// The one instance of a seam in force: the real implementation unless a test installed
// another. Each seam's header declares real(), and the file of its Qt implementation defines it.
template <typename Interface> class Replaceable {
public:
    static Interface& inForce()
    {
        Interface* replacement = installed();
        return replacement ? *replacement : real();
    }
    // Installs an implementation (tests); nullptr restores the real one.
    static void install(Interface* replacement) { installed() = replacement; }

    static Interface& real();

private:
    static Interface*& installed()
    {
        static Interface* replacement = nullptr;
        return replacement;
    }
};

} // namespace skorvin::ui
