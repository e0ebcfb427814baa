// Choosing what a start of the program does; free of platform calls.
#pragma once

enum class StartAction { ShowDialog, RunAs, RegServer, UnregServer };

// The switch must be the whole tail, so "/RunAs " or "/RunAs x" only shows the
// dialog. compareNoCase behaves like lstrcmpiW (0 = equal).
template <class CompareNoCase>
StartAction ChooseStartAction(int argc, const wchar_t* tail, CompareNoCase compareNoCase) {
    if (argc < 2 || tail == nullptr) {
        return StartAction::ShowDialog;
    }
    if (compareNoCase(tail, L"/RunAs") == 0) {
        return StartAction::RunAs;
    }
    if (compareNoCase(tail, L"/RegServer") == 0) {
        return StartAction::RegServer;
    }
    if (compareNoCase(tail, L"/UnregServer") == 0) {
        return StartAction::UnregServer;
    }
    return StartAction::ShowDialog;
}
