// The program's own long texts: the Help and Info panels and the first text
// of the seller's description box. Windows-1252 like every text the program
// shows, written as byte escapes so that no editor or compiler setting can
// turn them into UTF-8.
//
// Text boxes keep a pointer to their text, so these live for the whole run.
#pragma once

namespace kbh {

// A beta notice, short operating notes and where to send feedback.
extern const char kHelpText[];
// The product with its version, who made it, the terms of use of the beta
// version and a disclaimer.
extern const char kAboutText[];
// A short history of the brand whose mopeds the demo catalogue sells.
extern const char kSellerIntroText[];

}  // namespace kbh
