#include "ops/Operation.h"
#include "link/Tr.h"

FileRequest MemoryFileRequest(MemoryFileUse use)
{
    FileRequest request;
    const bool save = use == MemoryFileUse::Save;
    request.kind = save ? FileRequest::Kind::Save : FileRequest::Kind::Open;
    request.title = QString::fromUtf8(save ? OpsText::kFileDialogTitle : OpsText::kLoadDialogTitle);
    request.filters = {{Tr(OpsText::kBinaryFilterText), QStringLiteral("*.bin")},
                       {Tr(OpsText::kAnyFilterText), QStringLiteral("*")}};
    request.mustExist = !save;
    request.overwritePrompt = save;
    request.purpose = QStringLiteral("memory-file");
    return request;
}
