#pragma once
// The name under which a process puts aside an image it has in use (its own program, a library bound to
// it) when a new file takes that image's place: "<process id>-aside-<serial>-<origin>.tmp" in our
// temporaries folder, where origin is the image's path relative to the application folder, each UTF-16
// unit written as four lower-case hex digits. The process id lets a later clearing tell whether the image
// may still be mapped; the origin tells it where the image belongs, so that an image whose target went
// missing (the process was killed between the two renames) is put back instead of deleted.
#include <string>

// Whether an aside name can carry the origin: a relative path of 1 to 55 units (so that every name keeps
// within the 255 units a file name may have) that names no drive and leaves no folder: no ":", no "\" or
// "/" at its start, no ".." part.
bool FitsAsideName(const std::wstring& origin);

// The aside name of `origin` for a process's serial-th temporary; empty when the origin does not fit.
std::wstring AsideName(unsigned long processId, unsigned serial, const std::wstring& origin);

// Whether the name has the aside form: "<digits>-aside-" at its start.
bool IsAsideName(const std::wstring& name);

// The origin carried by an aside name. False when the name has another form or its origin does not fit.
bool AsideOrigin(const std::wstring& name, std::wstring& origin);
