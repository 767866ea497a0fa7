#include "ops/Operation.h"

FileRequest MemoryFileRequest()
{
    FileRequest request;
    request.kind = FileRequest::Kind::Open;
    request.title = QString::fromUtf8(OpsText::kFileDialogTitle);
    request.filters = {{QString::fromLatin1(OpsText::kFileFilterText), QStringLiteral("*.bin")}};
    request.mustExist = false;
    request.overwritePrompt = true;
    request.purpose = QStringLiteral("memory-file");
    return request;
}
