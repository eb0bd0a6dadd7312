#pragma once

namespace folivo {

// Closes a separately running PDF reader's main window: the top-level window of class
// "AdobeAcrobat", else the first one titled "adobe acrobat professional", "adobe acrobat" or
// "adobe reader". The window is first asked to close; one that is still there after a short
// grace period is destroyed. True when such a window was found and is gone afterwards; false
// when there is none (nothing is sent then) or no desktop to look on.
bool closeReaderWindow();

} // namespace folivo
