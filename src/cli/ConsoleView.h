#pragma once
/// The transfer engine's view on a text console or a log collector: one line per order
/// result, the connection states when they change, and the composition progress, redrawn
/// on one line only where a person watches a terminal.

#include "transfer/ITransferView.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <utility>

enum class Verbosity {
    kQuiet,   ///< orders that failed or wait, and held orders
    kNormal,  ///< every order result and connection change
    kVerbose, ///< also the terminal being served, and the progress as lines off a terminal
};

class ConsoleView : public ITransferView {
public:
    /// `interactive`: `output` is a terminal, where the progress line is redrawn in place.
    ConsoleView(std::FILE* output, Verbosity verbosity, bool interactive)
        : m_output(output), m_verbosity(verbosity), m_bInteractive(interactive) {}

    void SetListCell(int row, int column, const std::wstring& text) override;
    void SetServingName(const std::wstring& name) override;
    void SetProgressText(const std::wstring& text) override;
    void ShowHeldOrder(const std::wstring& terminalName, const std::wstring& orderName,
                       const std::wstring& takenFolder) override;
    void ShowOrderResult(const OrderResult& result) override;

    /// Whether an order of this run ended other than delivered (failed, or left for a retry
    /// or for the operator) and was not delivered later in the run.
    bool HasUndeliveredOrders() const;

private:
    void PrintEventLine(const std::wstring& text);
    void EndProgressLine();

    mutable std::mutex m_mutex;
    std::FILE* m_output;
    Verbosity m_verbosity;
    bool m_bInteractive;
    std::map<std::pair<int, int>, std::wstring> m_cells;
    /// The last outcome of each order of the run, by terminal name and order number.
    std::map<std::pair<std::wstring, int>, TransferOutcome> m_outcomes;
    bool m_bProgressLineOpen = false;
};
