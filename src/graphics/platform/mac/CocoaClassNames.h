// The Cocoa classes' names as the Objective-C runtime sees them. All classes of a process share one
// namespace, so every plug-in, and every format of it, compiles these sources with a suffix of its
// own (QV_OBJC_SUFFIX, set by the build): two bundles built on this code never trade classes.
#pragma once

#ifndef QV_OBJC_SUFFIX
#error "QV_OBJC_SUFFIX must name the plug-in's own class-name suffix"
#endif

#define QV_OBJC_JOIN_(name, suffix) name##suffix
#define QV_OBJC_JOIN(name, suffix) QV_OBJC_JOIN_(name, suffix)

#define IGraphicsCocoa QV_OBJC_JOIN(IGraphicsCocoa, QV_OBJC_SUFFIX)
#define IGraphicsMenuRcvr QV_OBJC_JOIN(IGraphicsMenuRcvr, QV_OBJC_SUFFIX)
#define IGraphicsNSMenu QV_OBJC_JOIN(IGraphicsNSMenu, QV_OBJC_SUFFIX)
#define CustomCocoaWindow QV_OBJC_JOIN(CustomCocoaWindow, QV_OBJC_SUFFIX)
#define CocoaFormatter QV_OBJC_JOIN(CocoaFormatter, QV_OBJC_SUFFIX)
