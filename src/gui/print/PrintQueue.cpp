#include "gui/print/PrintQueue.h"

#include <cups/cups.h>

#include <QByteArray>
#include <QFile>
#include <QLibrary>
#include <cstring>
#include <memory>
#include <type_traits>

#include "gui/print/PrintGrid.h"
#include "gui/shared/Text.h"

namespace pb {

namespace {

// The print system's library is loaded at the first print, not at every start:
// it brings a dozen libraries of its own (encryption, service discovery) that
// the main window's first paint would wait for.
struct Cups {
    decltype(&cupsGetNamedDest) GetNamedDest = nullptr;
    decltype(&cupsFreeDests) FreeDests = nullptr;
    decltype(&cupsGetOption) GetOption = nullptr;
    decltype(&cupsAddOption) AddOption = nullptr;
    decltype(&cupsPrintFile2) PrintFile2 = nullptr;
    decltype(&cupsFreeOptions) FreeOptions = nullptr;
    decltype(&cupsLastErrorString) LastErrorString = nullptr;
};

const Cups& TheCups() {
    static const Cups cups = [] {
        QLibrary library(QStringLiteral("cups"), 2);
        if (!library.load())
            throw TPrintError(S(library.errorString()));
        Cups c;
        auto resolve = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                library.resolve(name));
            if (function == nullptr)
                throw TPrintError(S(library.errorString()));
        };
        resolve(c.GetNamedDest, "cupsGetNamedDest");
        resolve(c.FreeDests, "cupsFreeDests");
        resolve(c.GetOption, "cupsGetOption");
        resolve(c.AddOption, "cupsAddOption");
        resolve(c.PrintFile2, "cupsPrintFile2");
        resolve(c.FreeOptions, "cupsFreeOptions");
        resolve(c.LastErrorString, "cupsLastErrorString");
        return c;  // the library stays loaded
    }();
    return cups;
}

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
    const char* option = TheCups().GetOption(name, dest.num_options, dest.options);
    return option != nullptr && std::strcmp(option, value) == 0;
}

}  // namespace

QueueRefusal CheckQueue(const QString& printer) {
    const QueueName name = SplitName(printer);
    const Cups* loaded = nullptr;
    try {
        loaded = &TheCups();
    } catch (const TPrintError&) {
        return QueueRefusal::Missing;  // without the print system there is no queue
    }
    const Cups& cups = *loaded;
    std::unique_ptr<cups_dest_t, void (*)(cups_dest_t*)> dest(
        cups.GetNamedDest(CUPS_HTTP_DEFAULT, name.queue.constData(),
                          name.instance.isEmpty() ? nullptr : name.instance.constData()),
        [](cups_dest_t* d) { TheCups().FreeDests(1, d); });
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
    const Cups& cups = TheCups();
    cups_option_t* options = nullptr;
    int count = 0;
    if (!media.isEmpty())
        count = cups.AddOption("media", media.toUtf8().constData(), count, &options);
    const int job = cups.PrintFile2(CUPS_HTTP_DEFAULT, name.queue.constData(),
                                    QFile::encodeName(file).constData(), title.toUtf8().constData(),
                                    count, options);
    cups.FreeOptions(count, options);
    if (job <= 0)
        throw TPrintError(cups.LastErrorString() != nullptr ? cups.LastErrorString() : "");
    return job;
}

}  // namespace pb
