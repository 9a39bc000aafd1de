#include "platform/cups_queue.h"

#include "platform/system_error_text.h"

#include <QFile>
#include <QLibrary>
#include <QPrintEngine>
#include <QPrinter>

#include <cups/cups.h>

#include <utility>
#include <vector>

namespace {

// libcups is opened when the first job is sent: linked in, it and what it
// needs (GnuTLS, Kerberos, Avahi) would be loaded at every start.
struct CupsLibrary
{
    decltype(&cupsPrintFile) printFile = nullptr;
    decltype(&cupsLastError) lastError = nullptr;
    decltype(&cupsLastErrorString) lastErrorString = nullptr;
    decltype(&cupsServer) server = nullptr;
    decltype(&ippPort) port = nullptr;
    decltype(&cupsEncryption) encryption = nullptr;
    decltype(&httpConnect2) connect = nullptr;
    decltype(&httpClose) close = nullptr;
    decltype(&cupsGetNamedDest) getNamedDest = nullptr;
    decltype(&cupsFreeDests) freeDests = nullptr;
    bool canAskForQueues = false;
};

template <typename Function>
bool Resolve(QLibrary& library, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

const CupsLibrary& Cups()
{
    static const CupsLibrary cups = [] {
        QLibrary library(QStringLiteral("cups"), 2);
        CupsLibrary loaded;
        if (!library.load())
            return loaded;
        if (Resolve(library, loaded.lastError, "cupsLastError")
            && Resolve(library, loaded.lastErrorString, "cupsLastErrorString"))
            Resolve(library, loaded.printFile, "cupsPrintFile");
        loaded.canAskForQueues = Resolve(library, loaded.server, "cupsServer") && Resolve(library, loaded.port, "ippPort")
            && Resolve(library, loaded.encryption, "cupsEncryption") && Resolve(library, loaded.connect, "httpConnect2")
            && Resolve(library, loaded.close, "httpClose") && Resolve(library, loaded.getNamedDest, "cupsGetNamedDest")
            && Resolve(library, loaded.freeDests, "cupsFreeDests");
        return loaded;
    }();
    return cups;
}

// Where Qt's CUPS engine keeps the job options chosen in the print dialog
// (banner pages, pages per sheet, ...), as name, value, name, value.
const auto CupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

QByteArray Sides(const QPrinter& printer)
{
    switch (printer.duplex()) {
    case QPrinter::DuplexNone:
        return "one-sided";
    case QPrinter::DuplexAuto:
        return printer.pageLayout().orientation() == QPageLayout::Portrait ? "two-sided-long-edge"
                                                                           : "two-sided-short-edge";
    case QPrinter::DuplexLongSide:
        return "two-sided-long-edge";
    case QPrinter::DuplexShortSide:
        return "two-sided-short-edge";
    }
    return "one-sided";
}

std::vector<std::pair<QByteArray, QByteArray>> JobOptions(QPrinter& printer)
{
    std::vector<std::pair<QByteArray, QByteArray>> options{
        {"media", printer.pageLayout().pageSize().key().toUtf8()},
        {"sides", Sides(printer)},
    };
    // No orientation: the PDF's pages are already turned, and CUPS would
    // turn a landscape page once more.
    const QStringList chosen = printer.printEngine()->property(CupsOptionsProperty).toStringList();
    for (qsizetype i = 0; i + 1 < chosen.size(); i += 2)
        options.emplace_back(chosen[i].toUtf8(), chosen[i + 1].toUtf8());
    return options;
}

enum class QueueState { Exists, Missing, NoServer };

// Asked after a refusal that named no reason of its own; when CUPS cannot
// tell, the queue is taken to exist.
QueueState AskForQueue(const QString& queue)
{
    const CupsLibrary& cups = Cups();
    if (!cups.canAskForQueues)
        return QueueState::Exists;
    http_t* server = cups.connect(cups.server(), cups.port(), nullptr, AF_UNSPEC, cups.encryption(), 1, 5000, nullptr);
    if (!server)
        return QueueState::NoServer;
    cups_dest_t* dest = cups.getNamedDest(server, queue.toUtf8().constData(), nullptr);
    const bool missing = !dest && cups.lastError() == IPP_STATUS_ERROR_NOT_FOUND;
    if (dest)
        cups.freeDests(1, dest);
    cups.close(server);
    return missing ? QueueState::Missing : QueueState::Exists;
}

QString Refusal(const QString& queue)
{
    switch (Cups().lastError()) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return QStringLiteral("Printer %1 Is Not Accepting Jobs").arg(queue);
    case IPP_STATUS_ERROR_NOT_FOUND:
        return QStringLiteral("Printer %1 Does Not Exist").arg(queue);
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
        return QStringLiteral("You Are Not Allowed To Print On Printer %1").arg(queue);
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        return QStringLiteral("The Printing System Is Not Running");
    default:
        QString reason = TitleCaseWords(QString::fromUtf8(Cups().lastErrorString()));
        // libcups 2.4 tells of a queue removed since it was chosen, and of a
        // server that is not there, as an error of its own ("No such file or
        // directory").
        switch (AskForQueue(queue)) {
        case QueueState::Missing:
            return QStringLiteral("Printer %1 Does Not Exist").arg(queue);
        case QueueState::NoServer:
            return QStringLiteral("The Printing System Is Not Running");
        case QueueState::Exists:
            break;
        }
        if (reason.endsWith(u'.'))
            reason.chop(1);
        return QStringLiteral("Printer %1 Refused The Job: %2").arg(queue, reason);
    }
}

} // namespace

std::optional<QString> SendToQueue(QPrinter& printer, const QString& pdfFile, const QString& title)
{
    if (!Cups().printFile)
        return QStringLiteral("The Printing System's Library (libcups.so.2) Could Not Be Loaded");
    // A printer name may carry an instance ("office/duplex"); the queue is before the slash.
    const QString queue = printer.printerName().section(u'/', 0, 0);
    std::vector<std::pair<QByteArray, QByteArray>> options = JobOptions(printer);
    std::vector<cups_option_t> cupsOptions;
    for (auto& [name, value] : options)
        cupsOptions.push_back({name.data(), value.data()});
    const int job = Cups().printFile(queue.toUtf8().constData(), QFile::encodeName(pdfFile).constData(),
                                  title.toUtf8().constData(), int(cupsOptions.size()), cupsOptions.data());
    if (job == 0)
        return Refusal(queue);
    return std::nullopt;
}
