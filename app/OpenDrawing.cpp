#include "app/OpenDrawing.h"

#include "app/EditorSettings.h"
#include "platform/FileOps.h"

namespace wemb {

platform::FileOps& fileOpsOf(const JobEnvironment& environment) {
    return environment.fileOps ? *environment.fileOps : platform::realFileOps();
}

ReadResult<OpenDrawing> openDrawing(const std::string& fileName,
                                    const JobEnvironment& environment) {
    ReadResult<LockedDocument> locked = openLockedDocument(fileOpsOf(environment), fileName);
    if (!locked) {
        return std::move(locked).error();
    }
    UnseenSheets unseen = findUnseenSheets(locked->dataPath, locked->document.sheetCount());
    return OpenDrawing{std::move(*locked), std::move(unseen)};
}

LibrarySetLoad librariesFor(const LockedDocument& drawing, const JobEnvironment& environment) {
    if (drawing.document.parts().empty()) {
        return {};
    }
    return loadLibrariesFor(drawing.dataPath, environment.programDirectory);
}

}  // namespace wemb
