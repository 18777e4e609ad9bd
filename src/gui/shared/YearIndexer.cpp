#include "gui/shared/YearIndexer.h"

#include <QThread>

#include "core/store/WorkDataFiles.h"

namespace pb {

YearIndexer::YearIndexer(const DataFiles& files, QObject* parent)
    : QObject(parent), files_(files) {}

YearIndexer::~YearIndexer() {
    if (thread_ != nullptr) {
        stop_ = true;
        thread_->wait();
        delete thread_;
    }
}

void YearIndexer::Request(int year) {
    if (thread_ == nullptr)
        Start(year);
    else if (year != reading_)
        next_ = year;
}

void YearIndexer::Start(int year) {
    reading_ = year;
    next_ = 0;
    read_.reset();
    // The thread works on its own copy of the names; the indexes it fills are
    // the master files' (which lock) and one of its own for the year.
    thread_ = QThread::create([this, files = files_, year] {
        try {
            read_ = IndexYearApart(files, year, stop_);
        } catch (const std::exception&) {
            // The next look at the year reports what fails.
        }
    });
    connect(thread_, &QThread::finished, this, &YearIndexer::Finished);
    thread_->start(QThread::LowPriority);
}

void YearIndexer::Finished() {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    const int year = reading_;
    bool adopted = false;
    if (read_) {
        try {
            adopted = AdoptYearIndex(files_, year, std::move(*read_));
        } catch (const std::exception&) {
        }
        read_.reset();
    }
    if (next_ != 0)
        Start(next_);
    if (adopted)
        emit Indexed(year);
}

}  // namespace pb
