#pragma once
// The print system's queues as the report uses them: whether a printer takes a
// job now, and handing it a finished document as one job. The widgets' own
// printing hands a job over without telling whether the queue took it, so the
// report renders into a file and submits that file itself.

#include <QString>

namespace pb {

// Why a printer takes no job at this moment.
enum class QueueRefusal {
    None,       // it takes jobs
    Missing,    // no such printer (deleted, or the print system is not there)
    Paused,     // stopped: a job would wait until someone resumes it
    Rejecting,  // it refuses new jobs
};

// What the print system says about `printer` now.
QueueRefusal CheckQueue(const QString& printer);

// The operator's sentence for a refusal, naming the printer.
QString RefusalText(const QString& printer, QueueRefusal refusal);

// Gives the PDF `file` to `printer` as one job named `title`, on the paper the
// printer calls `media`. Returns the job's number; throws TPrintError with the
// print system's reason when the queue does not take the job.
int SubmitPdf(const QString& printer, const QString& file, const QString& title,
              const QString& media);

}  // namespace pb
