#pragma once
// Reads year files' indexes on a thread of its own while the window takes
// input, one year at a time, and hands each to the window's indexes when it
// is done (on the window's thread, which owns them).

#include <QObject>
#include <atomic>
#include <memory>
#include <optional>

#include "core/store/DataFiles.h"

class QThread;

namespace pb {

class YearIndexer : public QObject {
    Q_OBJECT
  public:
    // `files` must outlive the indexer; its file system is read from the thread.
    explicit YearIndexer(const DataFiles& files, QObject* parent = nullptr);
    // Stops the reading under way and waits for it.
    ~YearIndexer() override;

    // Reads the year's index unless it is being read; a year asked for while
    // another is read follows it (only the last one asked for).
    void Request(int year);
    bool Busy() const { return thread_ != nullptr; }

  signals:
    // The year's index has been taken over: look-ups of it read nothing now.
    void Indexed(int year);

  private:
    void Start(int year);
    void Finished();

    const DataFiles& files_;
    QThread* thread_ = nullptr;
    int reading_ = 0;
    int next_ = 0;
    std::atomic<bool> stop_ = false;
    std::optional<YearIndex> read_;
};

}  // namespace pb
