#pragma once
/// The modal dialogs running now, so that the program can end from inside any of them.

#include <wx/dialog.h>
#include <wx/modalhook.h>

#include <functional>
#include <vector>

/// Thread contract: GUI thread only. Registered for the life of the application object,
/// it sees every modal dialog, message boxes included, unless another hook answers the
/// dialog before it is shown.
class ModalDialogStack : public wxModalDialogHook {
public:
    /// `onExit` runs whenever a modal run has ended, right after it.
    explicit ModalDialogStack(std::function<void()> onExit) : m_onExit(std::move(onExit)) {
        Register();
    }
    ~ModalDialogStack() override { Unregister(); }
    ModalDialogStack(const ModalDialogStack&) = delete;
    ModalDialogStack& operator=(const ModalDialogStack&) = delete;

    /// The dialog whose modal run is innermost; null when none runs.
    wxDialog* Innermost() const { return m_dialogs.empty() ? nullptr : m_dialogs.back(); }

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog* dialog) override;

private:
    std::function<void()> m_onExit;
    std::vector<wxDialog*> m_dialogs;
};
