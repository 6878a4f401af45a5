#include "app/ModalDialogStack.h"

#include <algorithm>

int ModalDialogStack::Enter(wxDialog* dialog) {
    m_dialogs.push_back(dialog);
    return wxID_NONE;
}

void ModalDialogStack::Exit(wxDialog* dialog) {
    std::erase(m_dialogs, dialog);
    if (m_onExit)
        m_onExit();
}
