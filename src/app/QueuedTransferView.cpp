#include "app/QueuedTransferView.h"

#include <wx/app.h>

#include <mutex>

struct QueuedTransferView::Shared {
    ITransferViewSink* sink = nullptr; ///< GUI thread only; null once the view is gone
    std::mutex progressMutex;
    std::wstring pendingProgress;
    bool progressQueued = false;
};

// CallAfter copies its functor, so the functor holds the shared state by value.
void QueuedTransferView::Queue(const std::shared_ptr<Shared>& shared,
                               const std::function<void(ITransferViewSink&)>& update) {
    if (!wxTheApp)
        return;
    wxTheApp->CallAfter([shared, update] {
        if (shared->sink)
            update(*shared->sink);
    });
}

QueuedTransferView::QueuedTransferView(ITransferViewSink& sink)
    : m_shared(std::make_shared<Shared>()) {
    m_shared->sink = &sink;
}

QueuedTransferView::~QueuedTransferView() {
    m_shared->sink = nullptr;
}

void QueuedTransferView::SetListCell(int row, int column, const std::wstring& text) {
    Queue(m_shared,
          [row, column, text](ITransferViewSink& sink) { sink.ShowListCell(row, column, text); });
}

void QueuedTransferView::SetServingName(const std::wstring& name) {
    Queue(m_shared, [name](ITransferViewSink& sink) { sink.ShowServingName(name); });
}

void QueuedTransferView::SetProgressText(const std::wstring& text) {
    std::lock_guard lock(m_shared->progressMutex);
    m_shared->pendingProgress = text;
    if (m_shared->progressQueued)
        return;
    m_shared->progressQueued = true;
    std::shared_ptr<Shared> shared = m_shared;
    Queue(m_shared, [shared](ITransferViewSink& sink) {
        std::wstring latest;
        {
            std::lock_guard guiLock(shared->progressMutex);
            latest = shared->pendingProgress;
            shared->progressQueued = false;
        }
        sink.ShowProgressText(latest);
    });
}
