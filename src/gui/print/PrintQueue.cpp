#include "gui/print/PrintQueue.h"

#include <cups/cups.h>

#include <QByteArray>
#include <QFile>
#include <cstring>
#include <memory>

#include "gui/print/Sgridp.h"

namespace pb {

namespace {

// A printer's name as the print system lists it may carry an instance
// ("office/draft"); the queue is the part before the slash.
struct QueueName {
    QByteArray queue;
    QByteArray instance;
};

QueueName SplitName(const QString& printer) {
    const qsizetype slash = printer.indexOf(u'/');
    if (slash < 0)
        return {printer.toUtf8(), {}};
    return {printer.left(slash).toUtf8(), printer.mid(slash + 1).toUtf8()};
}

bool OptionIs(const cups_dest_t& dest, const char* name, const char* value) {
    const char* option = cupsGetOption(name, dest.num_options, dest.options);
    return option != nullptr && std::strcmp(option, value) == 0;
}

}  // namespace

QueueRefusal CheckQueue(const QString& printer) {
    const QueueName name = SplitName(printer);
    std::unique_ptr<cups_dest_t, void (*)(cups_dest_t*)> dest(
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.queue.constData(),
                         name.instance.isEmpty() ? nullptr : name.instance.constData()),
        [](cups_dest_t* d) { cupsFreeDests(1, d); });
    if (!dest)
        return QueueRefusal::Missing;
    if (OptionIs(*dest, "printer-is-accepting-jobs", "false"))
        return QueueRefusal::Rejecting;
    // Printer state 5 is "stopped": the queue keeps jobs without printing them.
    if (OptionIs(*dest, "printer-state", "5"))
        return QueueRefusal::Paused;
    return QueueRefusal::None;
}

QString RefusalText(const QString& printer, QueueRefusal refusal) {
    const QString named = "プリンター「" + printer + "」";
    switch (refusal) {
        case QueueRefusal::None:
            break;
        case QueueRefusal::Missing:
            return named + "が見つかりません。";
        case QueueRefusal::Paused:
            return named + "は一時停止しています。";
        case QueueRefusal::Rejecting:
            return named + "は印刷を受け付けていません。";
    }
    return {};
}

int SubmitPdf(const QString& printer, const QString& file, const QString& title,
              const QString& media) {
    const QueueName name = SplitName(printer);
    cups_option_t* options = nullptr;
    int count = 0;
    if (!media.isEmpty())
        count = cupsAddOption("media", media.toUtf8().constData(), count, &options);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, name.queue.constData(),
                                   QFile::encodeName(file).constData(), title.toUtf8().constData(),
                                   count, options);
    cupsFreeOptions(count, options);
    if (job <= 0)
        throw TPrintError(cupsLastErrorString() != nullptr ? cupsLastErrorString() : "");
    return job;
}

}  // namespace pb
