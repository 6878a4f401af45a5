#pragma once
/// The transfer engine's view on a text console: the terminal being served, the connection
/// states when they change and the composition progress on one rewritten line.

#include "transfer/ITransferView.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <utility>

class ConsoleView : public ITransferView {
public:
    explicit ConsoleView(std::FILE* output) : m_output(output) {}

    void SetListCell(int row, int column, const std::wstring& text) override;
    void SetServingName(const std::wstring& name) override;
    void SetProgressText(const std::wstring& text) override;
    void ShowHeldOrder(const std::wstring& terminalName, const std::wstring& orderName,
                       const std::wstring& takenFolder) override;

private:
    void EndProgressLine();

    std::mutex m_mutex;
    std::FILE* m_output;
    std::map<std::pair<int, int>, std::wstring> m_cells;
    bool m_bProgressLineOpen = false;
};
