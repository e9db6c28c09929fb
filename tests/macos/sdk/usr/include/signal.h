// Apple-shaped C headers for the macOS link check: the Mac has this header and GNUstep's headers
// include it, but nothing we compile needs a declaration from it.
#pragma once
