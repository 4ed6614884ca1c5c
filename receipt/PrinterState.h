#pragma once
// What the print spooler says of a printer and of a job, put in words a shop
// understands: why nothing prints, and what to do. Windows-free: the bits are
// the spooler's own, at its values (Printing.cpp checks them against winspool.h).
#include <string>

namespace receipt {

// A printer's Status bits (PRINTER_INFO_2) this program reads.
enum PrinterStatus : unsigned long {
    kPrinterPaused = 0x1,
    kPrinterError = 0x2,
    kPrinterPendingDeletion = 0x4,
    kPrinterPaperJam = 0x8,
    kPrinterPaperOut = 0x10,
    kPrinterPaperProblem = 0x40,
    kPrinterOffline = 0x80,
    kPrinterNotAvailable = 0x1000,
    kPrinterUserIntervention = 0x100000,
    kPrinterDoorOpen = 0x400000,
    kPrinterServerUnknown = 0x800000,
};
// The Attributes bit of a printer set to "プリンターをオフラインで使用する".
constexpr unsigned long kPrinterWorkOffline = 0x400;

// A job's Status bits (JOB_INFO_1) this program reads.
enum JobStatus : unsigned long {
    kJobError = 0x2,
    kJobDeleting = 0x4,
    kJobOffline = 0x20,
    kJobPaperOut = 0x40,
    kJobDeleted = 0x100,
    kJobBlocked = 0x200,  // the driver cannot print it
    kJobUserIntervention = 0x400,
};

// What the spooler tells of a printer; all 0 where it tells nothing (Wine).
struct PrinterState {
    unsigned long status = 0, attributes = 0;
};

// The start of every message for a job a printer did not take; "%s" stands for its name.
extern const wchar_t kRefused[];

// Why a printer in this state prints nothing now, and what to do; empty when
// its state tells of nothing wrong.
std::wstring PrinterTrouble(const PrinterState& state);

// The message for a job the spooler refused (a call failed with error, whose
// system text is systemReason): the printer's trouble where its state tells
// one, else what to check, with the system's text where it says more than
// that the call failed.
std::wstring RefusedMessage(const std::wstring& printer, const PrinterState& state, unsigned long error,
                            const std::wstring& systemReason);

// The message for a job still in the queue after its end that will not print
// now, as its own status or else its printer's state tells; the caller takes
// it out of the queue, so that it does not print (or open the drawer) later
// when nobody expects it. Empty when the job may print.
std::wstring StuckJobMessage(const std::wstring& printer, unsigned long jobStatus, const PrinterState& state);

}  // namespace receipt
