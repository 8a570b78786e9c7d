#include "net/crash_report.h"

#include <cinttypes>

#include "foundation/globals.h"
#include "foundation/shell.h"
#include "net/error_report.h"
#include "net/format_text.h"
#include "platform/message_box.h"

namespace {

std::string crashPageUrl(const CrashRecord& record) {
    return supportSite + formatText("/app_crash.asp?v=%0.1f&ecode=0x%lx&eip=0x%016" PRIXPTR "&",
                                    static_cast<double>(programVersion),
                                    static_cast<unsigned long>(record.signal), record.instruction);
}

} // namespace

std::string crashText(const CrashRecord& record) {
    return formatText("exceptionCode:0x%lx, EIP=0x%016" PRIXPTR, static_cast<unsigned long>(record.signal),
                      record.instruction);
}

int reportPendingCrash(const std::string& recordFolder) {
    std::vector<CrashRecord> records = takeCrashRecords(recordFolder);
    if (records.empty()) return 0;
    for (const CrashRecord& record : records) sendErrorReport("AppCrash", crashText(record).c_str());
    messageBox(hwndMain, "Tevrako 已停止工作。\n\n出现了一个问题，导致软件停止工作。请进入软件官网联系客服。", "错误",
               MB_ICONERROR);
    if (!supportSite.empty()) openUrlInBrowser(crashPageUrl(records.back()).c_str());
    return static_cast<int>(records.size());
}
