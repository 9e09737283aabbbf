// Bands: their properties, the collection, and what deleting and moving bands does to the
// columns' BandIndex.
#include "treelist/dxTL.h"

#include <algorithm>
#include <optional>

namespace dxtl {

using namespace fw;

// --- TdxTreeListBand -------------------------------------------------------------------------

int TdxTreeListBand::Index() const {
    return FCollection.IndexOf(this);
}

void TdxTreeListBand::SetIndex(int index) {
    if (FFixed != bfNone)
        return;
    const int count = FCollection.Count();
    // Fixed bands keep the ends.
    int first = 0;
    int last = count - 1;
    if (count > 0 && FCollection.Items(0) != this && FCollection.Items(0)->FFixed == bfLeft)
        first = 1;
    if (count > 0 && FCollection.Items(last) != this && FCollection.Items(last)->FFixed == bfRight)
        --last;
    FCollection.Move(Index(), std::clamp(index, first, std::max(first, last)));
}

void TdxTreeListBand::SetAlignment(TAlignment alignment) {
    FAlignment = alignment;
    Changed();
}

void TdxTreeListBand::SetCaption(std::string caption) {
    FCaption = std::move(caption);
    Changed();
}

void TdxTreeListBand::SetFixed(TdxGridBandFixed fixed) {
    if (!FVisible)
        fixed = bfNone;
    if (fixed == FFixed)
        return;
    if (fixed != bfNone)
        for (int i = 0; i < FCollection.Count(); ++i)
            if (FCollection.Items(i)->FFixed == fixed)
                FCollection.Items(i)->FFixed = bfNone;
    FFixed = fixed;
    if (fixed == bfLeft)
        FCollection.Move(Index(), 0);
    else if (fixed == bfRight)
        FCollection.Move(Index(), FCollection.Count() - 1);
    Changed();
}

void TdxTreeListBand::SetMinWidth(int width) {
    FMinWidth = std::max(width, 0);
    FWidth = std::max(FWidth, FMinWidth);
    Changed();
}

void TdxTreeListBand::SetSizing(bool sizing) {
    FSizing = sizing;
    Changed();
}

void TdxTreeListBand::SetVisible(bool visible) {
    FVisible = visible;
    if (!visible)
        FFixed = bfNone;
    Changed();
}

void TdxTreeListBand::SetWidth(int width) {
    FWidth = std::max(width, FMinWidth);
    Changed();
}

void TdxTreeListBand::Assign(const TdxTreeListBand& other) {
    FAlignment = other.FAlignment;
    FCaption = other.FCaption;
    FDisableCustomizing = other.FDisableCustomizing;
    FDisableDragging = other.FDisableDragging;
    FFixed = other.FFixed;
    FMinWidth = other.FMinWidth;
    FOnlyOwnColumns = other.FOnlyOwnColumns;
    FSizing = other.FSizing;
    FVisible = other.FVisible;
    FWidth = other.FWidth;
    Changed();
}

void TdxTreeListBand::Changed() {
    FCollection.Changed();
}

// --- TdxTreeListBands ------------------------------------------------------------------------

TdxTreeListBands::TdxTreeListBands(TCustomdxTreeListControl* list) : FTreeList(list) {}

TdxTreeListBands::~TdxTreeListBands() = default;

TdxTreeListBand* TdxTreeListBands::Items(int index) const {
    if (index < 0 || index >= Count())
        RaiseListIndexError(index);
    return FItems[static_cast<std::size_t>(index)].get();
}

TdxTreeListBand* TdxTreeListBands::Add() {
    FItems.push_back(std::unique_ptr<TdxTreeListBand>(new TdxTreeListBand(*this)));
    TdxTreeListBand* band = FItems.back().get();
    // A band fixed right stays last.
    const int count = Count();
    if (count > 1 && FItems[std::size_t(count) - 2]->FFixed == bfRight)
        Move(count - 1, count - 2);
    Changed();
    return band;
}

void TdxTreeListBands::Delete(int index) {
    if (index < 0 || index >= Count())
        RaiseListIndexError(index);
    FItems.erase(FItems.begin() + index);
    if (FTreeList)
        FTreeList->BandDeleted(index);
    Changed();
}

void TdxTreeListBands::Clear() {
    if (FTreeList)
        FTreeList->BeginUpdate();
    while (Count() > 0)
        Delete(Count() - 1);
    if (FTreeList)
        FTreeList->EndUpdate();
}

void TdxTreeListBands::Assign(const TdxTreeListBands& other) {
    if (&other == this)
        return;
    std::optional<TUpdateLock> lock;
    if (FTreeList)
        lock.emplace(*FTreeList);
    while (Count() > other.Count())
        Delete(Count() - 1);
    while (Count() < other.Count())
        FItems.push_back(std::unique_ptr<TdxTreeListBand>(new TdxTreeListBand(*this)));
    for (int i = 0; i < Count(); ++i)
        FItems[std::size_t(i)]->Assign(*other.FItems[std::size_t(i)]);
    Changed();
}

int TdxTreeListBands::VisibleCount() const {
    return static_cast<int>(std::count_if(FItems.begin(), FItems.end(),
                                          [](const auto& band) { return band->FVisible; }));
}

int TdxTreeListBands::IndexOf(const TdxTreeListBand* band) const {
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == band)
            return static_cast<int>(i);
    return -1;
}

void TdxTreeListBands::Move(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= Count() || to >= Count())
        return;
    auto band = std::move(FItems[std::size_t(from)]);
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, std::move(band));
    if (FTreeList)
        FTreeList->BandMoved(from, to);
}

void TdxTreeListBands::Changed() {
    if (FTreeList)
        FTreeList->BandsChanged();
}

} // namespace dxtl
