#pragma once
/// The transfer engine's view for the window: every update is queued onto the GUI thread,
/// so a worker never waits for the window and never touches a window object.

#include "transfer/ITransferView.h"

#include <functional>
#include <memory>
#include <string>

/// What the window does with the updates, on the GUI thread.
class ITransferViewSink {
public:
    virtual ~ITransferViewSink() = default;
    virtual void ShowListCell(int row, int column, const std::wstring& text) = 0;
    virtual void ShowServingName(const std::wstring& name) = 0;
    virtual void ShowProgressText(const std::wstring& text) = 0;
};

/// Thread contract: construct and destroy on the GUI thread; the Set calls come from any
/// thread. Updates still queued when the view is destroyed are dropped. Progress lines are
/// coalesced: however fast they come, at most one waits in the queue and it shows the latest.
class QueuedTransferView : public ITransferView {
public:
    explicit QueuedTransferView(ITransferViewSink& sink);
    ~QueuedTransferView() override;
    QueuedTransferView(const QueuedTransferView&) = delete;
    QueuedTransferView& operator=(const QueuedTransferView&) = delete;

    void SetListCell(int row, int column, const std::wstring& text) override;
    void SetServingName(const std::wstring& name) override;
    void SetProgressText(const std::wstring& text) override;

private:
    struct Shared;
    static void Queue(const std::shared_ptr<Shared>& shared,
                      const std::function<void(ITransferViewSink&)>& update);

    // Shared with the queued calls, which may run after the view is gone.
    std::shared_ptr<Shared> m_shared;
};
