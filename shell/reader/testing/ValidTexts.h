#pragma once

#include <optional>
#include <string>

#include "DocumentProperties.h"
#include "Utf8Text.h"

// The readers promise UTF-8 whatever a document holds: true when every text of what they
// read keeps the promise (or they read nothing).
inline bool textsAreValidUtf8(const std::optional<DocumentProperties>& properties) {
    if (!properties)
        return true;
    for (const std::string* text :
         {&properties->title, &properties->subject, &properties->authors, &properties->keywords,
          &properties->comments, &properties->category, &properties->company, &properties->manager,
          &properties->lastAuthor, &properties->revision, &properties->templateName,
          &properties->application}) {
        if (validUtf8(*text) != *text)
            return false;
    }
    return true;
}
