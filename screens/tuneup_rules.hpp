// The workshop rules behind the TuneUp screen and the part lists of Spray and
// Seller: what the lists hold, how list positions and button clicks become
// installs, exchanges and removals, and the fades around them.
//
// They live here rather than in workshop/ because the faders are scene
// Animations; they draw nothing and need no GL, so the tests run them on the
// recording device with a fake clock.
//
// The faders hold plain pointers to installed parts. Every change of the
// installed list made here first makes the faders forget the parts it is
// about to remove (an exchange's occupant, a removal, the parts an install's
// exclude actions take away), so no fade ever touches a freed part.
#pragma once

#include <cstdint>

#include "catalogue/data_store.hpp"
#include "screens/screen.hpp"
#include "ui/widgets/scroll_box.hpp"
#include "workshop/installed_parts.hpp"

namespace kbh {

// The four texts of the status line, Windows-1252.
inline constexpr const char* kStatusFileMissing =
    "MXA-Datei nicht gefunden\nEinbau nicht m\xF6glich!";
inline constexpr const char* kStatusExchanging = "Teil wird ausgetauscht!";
inline constexpr const char* kStatusInstalling = "Teil wird eingebaut!";
inline constexpr const char* kStatusRemoving = "Teil wird ausgebaut!";
// The subcategory list's only row for a category whose parts sit directly
// below it.
inline constexpr const char* kNoSubcategory = "<keine Unterkategorie>";

inline constexpr uint32_t kFadeMs = 500;
// A part without mesh has nothing to fade; its exchange follows at once.
inline constexpr uint32_t kFadeWithoutMeshMs = 1;

// Every listed category (kinds 0, 1 and 3; kind 2 parts come only through
// actions), in catalogue order, named as stored, valued by its id.
void FillCategoryList(DataStore& catalogue, ScrollBox& list);

enum class InstalledListFilter : uint8_t {
  kSpray,   // parts with a mesh: there is something to paint
  kSeller,  // parts whose own node has a record with a description (text4)
};

// The installed parts that pass the filter, in installation order, valued by
// their ids and named by their category (kind 0), "category :: subcategory"
// (kind 1) or their own name (kind 3). Parts of other kinds, and parts whose
// nodes are missing from the catalogue, get no row.
void FillInstalledList(const DataStore& catalogue, InstalledPartList& parts, ScrollBox& list,
                       InstalledListFilter filter);

// The id a build-in asks for, made from the list positions rather than from
// the part row's value: the catalogue numbers its children from 1 in order.
// subcategoryDisabled is the subcategory list's disabled byte; its bit 0 is
// set for a category without subcategories, whose parts are subcategory 1.
ItemId PendingIdFromLists(ItemId categoryId, int32_t subcategoryIndex, uint8_t subcategoryDisabled,
                          int32_t partIndex);

// One frame of the TuneUp screen: the three lists, the build-in and remove
// buttons, the faders and the status line.
void UpdateTuneUp(ScreenContext& context);

// Steps both faders to now; the main loop calls it once per frame.
void AdvanceFaders(TuneUpState& state, uint32_t now);

}  // namespace kbh
