#include "imaging/GIFItem.h"

#include "imaging/GIFImage.h"

void TGIFItem::Warning(const std::string& message) const
{
    image_->Warn(this, message);
}
