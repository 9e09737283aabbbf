// Bands: captions over groups of columns, and the collection a list keeps them in.
#pragma once

#include "treelist/dxTLTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace dxtl {

// A band: a caption over a group of columns. Items of the list's TdxTreeListBands.
class TdxTreeListBand {
public:
    TdxTreeListBand(const TdxTreeListBand&) = delete;
    TdxTreeListBand& operator=(const TdxTreeListBand&) = delete;

    TdxTreeListBands& Collection() const { return FCollection; }
    int Index() const;
    // Moves the band (clamped, never past a fixed band; a fixed band stays); the columns'
    // BandIndex follows so that every column stays with its band.
    void SetIndex(int index);

    fw::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(fw::TAlignment alignment);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(std::string caption);
    bool DisableCustomizing() const { return FDisableCustomizing; }
    void SetDisableCustomizing(bool disable) { FDisableCustomizing = disable; }
    bool DisableDragging() const { return FDisableDragging; }
    void SetDisableDragging(bool disable) { FDisableDragging = disable; }
    // A band fixed left moves to index 0, one fixed right to the last index; one band per
    // side (fixing another clears it); a hidden band is never fixed.
    TdxGridBandFixed Fixed() const { return FFixed; }
    void SetFixed(TdxGridBandFixed fixed);
    int MinWidth() const { return FMinWidth; }
    // Below 0 stores 0; Width is applied again.
    void SetMinWidth(int width);
    bool OnlyOwnColumns() const { return FOnlyOwnColumns; }
    void SetOnlyOwnColumns(bool only) { FOnlyOwnColumns = only; }
    bool Sizing() const { return FSizing; }
    void SetSizing(bool sizing);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    int Width() const { return FWidth; }
    // Below MinWidth stores MinWidth.
    void SetWidth(int width);

    // Copies every property but the position.
    void Assign(const TdxTreeListBand& other);

    static constexpr int kDefaultWidth = 250;
    static constexpr int kDefaultMinWidth = 30;

private:
    friend class TdxTreeListBands;
    explicit TdxTreeListBand(TdxTreeListBands& collection) : FCollection(collection) {}
    void Changed();

    TdxTreeListBands& FCollection;
    fw::TAlignment FAlignment = fw::taCenter;
    std::string FCaption;
    bool FDisableCustomizing = false;
    bool FDisableDragging = false;
    TdxGridBandFixed FFixed = bfNone;
    int FMinWidth = kDefaultMinWidth;
    bool FOnlyOwnColumns = false;
    bool FSizing = true;
    bool FVisible = true;
    int FWidth = kDefaultWidth;
};

// The bands of a list (or a free-standing set of bands to assign to one).
class TdxTreeListBands {
public:
    // `list` may be none: a set of bands to assign.
    explicit TdxTreeListBands(TCustomdxTreeListControl* list);
    ~TdxTreeListBands();
    TdxTreeListBands(const TdxTreeListBands&) = delete;
    TdxTreeListBands& operator=(const TdxTreeListBands&) = delete;

    TCustomdxTreeListControl* TreeList() const { return FTreeList; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises fw::EListError out of range.
    TdxTreeListBand* Items(int index) const;
    TdxTreeListBand* Add();
    // The columns of the band lose it (BandIndex -1); those of later bands follow theirs.
    void Delete(int index);
    void Clear();
    // Makes this set a copy of `other`: as many bands, with the same properties.
    void Assign(const TdxTreeListBands& other);
    int VisibleCount() const;
    int IndexOf(const TdxTreeListBand* band) const;

private:
    friend class TdxTreeListBand;
    void Move(int from, int to);
    void Changed();

    TCustomdxTreeListControl* FTreeList;
    std::vector<std::unique_ptr<TdxTreeListBand>> FItems;
};

} // namespace dxtl
