#include "app/ModalDialogStack.h"

#include <algorithm>

int CModalDialogStack::Enter(wxDialog* dialog) {
    m_dialogs.push_back(dialog);
    return wxID_NONE;
}

void CModalDialogStack::Exit(wxDialog* dialog) {
    std::erase(m_dialogs, dialog);
    if (m_onExit)
        m_onExit();
}
