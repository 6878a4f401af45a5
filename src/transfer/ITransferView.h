#pragma once
/// What the transfer engine shows to the user, without knowing how it is shown.

#include "transfer/TransferSteps.h"

#include <string>

/// How one transfer of an order ended.
struct OrderResult {
    std::wstring terminalName;
    int orderNumber = 0;
    TransferOutcome outcome = TransferOutcome::kDelivered;
    std::wstring reason; ///< why it failed or waits for a retry; empty when delivered
};

/// Implemented by the window (which queues every call onto its own thread) and by
/// relaydesk-cli (which prints). Called from the worker threads; an implementation must
/// return without waiting for another thread of the controller.
class ITransferView {
public:
    virtual ~ITransferView() = default;

    /// Text of one cell of the terminal list: column 2 (input folder status) or 5 (output
    /// folder status) of `row`, which shows terminal slot `row`.
    virtual void SetListCell(int row, int column, const std::wstring& text) = 0;
    /// Name of the terminal whose order is being transferred; empty otherwise.
    virtual void SetServingName(const std::wstring& name) = 0;
    /// The composition progress line; empty while no order is being transferred. Called
    /// only when the text changes.
    virtual void SetProgressText(const std::wstring& text) = 0;
    /// An order of terminal `terminalName` that is not composed because its new name
    /// (`takenFolder`, an e or q folder of the same number) is taken: the operator must
    /// clear it. Told once per start and order.
    virtual void ShowHeldOrder(const std::wstring& /*terminalName*/,
                               const std::wstring& /*orderName*/,
                               const std::wstring& /*takenFolder*/) {}
    /// Every transfer of an order that ended, as it ended.
    virtual void ShowOrderResult(const OrderResult& /*result*/) {}
};

/// List columns written by the connection checks.
constexpr int kInputStatusColumn = 2;
constexpr int kOutputStatusColumn = 5;
