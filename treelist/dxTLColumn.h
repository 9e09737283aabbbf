// A column of a tree list: a component of the form that one list shows.
#pragma once

#include "framework/Graphics.h"
#include "framework/Layout.h"
#include "treelist/dxTLTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace dxtl {

// Properties that a column keeps only once written; until then they read the column class's
// default (colour and font: the list's).
enum TdxColumnAssignedValue {
    cvAlignment,
    cvCaption,
    cvReadOnly,
    cvWidth,
    cvColor,
    cvFont,
    cvMaxLength
};
using TdxColumnAssignedValues = TdxSet<TdxColumnAssignedValue>;

// A column: a component of the form (its owner frees it) shown by one list. Attaching it
// (SetTreeList, or "TreeList" in a stored layout) appends it to the list's columns; freeing it
// takes its texts out of the list's nodes. Writes clamp and never raise; the writes that change
// the layout recompute it (at the last EndUpdate while the list's update lock is held).
class TdxTreeListColumn : public fw::TComponent {
public:
    explicit TdxTreeListColumn(fw::TComponent* owner);
    ~TdxTreeListColumn() override;

    TCustomdxTreeListControl* TreeList() const { return FTreeList; }
    // Leaves the current list (its nodes lose the column's texts) and joins the new one at
    // the end of its columns.
    void SetTreeList(TCustomdxTreeListControl* list);
    // Names a list among the components of the column's owner: attached at once when it
    // exists, else when loading ends (a stored layout may name a list stored after the column).
    void SetTreeListName(std::string name);
    // Position in the list's column list; -1 outside a list.
    int Index() const;
    // Moves the column to `position` in the list's column list (clamped); the nodes' texts
    // move along.
    void SetIndex(int position);

    // --- Published properties, in declaration order ----------------------------------------
    fw::TAlignment Alignment() const;
    void SetAlignment(fw::TAlignment alignment);
    std::string Caption() const;
    void SetCaption(std::string caption);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase charCase) { FCharCase = charCase; }
    fw::TColor Color() const;
    void SetColor(fw::TColor color);
    bool DisableCaption() const { return FDisableCaption; }
    void SetDisableCaption(bool disable);
    bool DisableCustomizing() const { return FDisableCustomizing; }
    void SetDisableCustomizing(bool disable) { FDisableCustomizing = disable; }
    bool DisableDragging() const { return FDisableDragging; }
    void SetDisableDragging(bool disable) { FDisableDragging = disable; }
    bool DisableEditor() const { return FDisableEditor; }
    void SetDisableEditor(bool disable) { FDisableEditor = disable; }
    // A copy of the list's Font until changed; any change marks it written.
    fw::TFont& Font() { return FFont; }
    const fw::TFont& Font() const { return FFont; }
    fw::TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(fw::TAlignment alignment);
    // Created empty on first use; needs the column's application.
    fw::TBitmap& HeaderGlyph();
    bool HasHeaderGlyph() const { return FHeaderGlyph != nullptr; }
    int MaxLength() const;
    void SetMaxLength(int length);
    int MinWidth() const { return FMinWidth; }
    // Below 0 stores 0; Width is applied again, so it never stays below the minimum.
    void SetMinWidth(int width);
    bool OEMConvert() const { return FOEMConvert; }
    void SetOEMConvert(bool convert) { FOEMConvert = convert; }
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char c) { FPasswordChar = c; }
    // The written value; unwritten, the class default, and when that is false the list's
    // read-only state.
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    bool Sizing() const { return FSizing; }
    void SetSizing(bool sizing);
    TdxTreeListColumnSort Sorted() const { return FSorted; }
    void SetSorted(TdxTreeListColumnSort sorted);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool tabStop) { FTabStop = tabStop; }
    TTextLayout VertAlignment() const { return FVertAlignment; }
    void SetVertAlignment(TTextLayout alignment);
    bool Visible() const { return FVisible; }
    void SetVisible(bool visible);
    int Width() const;
    // Below MinWidth stores MinWidth. Kept (and marked written) once written or when the
    // value differs from the class default.
    void SetWidth(int width);
    // Collection index of the column's band; -1 = none (not shown).
    int BandIndex() const { return FBandIndex; }
    // Below -1 stores -1; in a list, at or above the band count stores the last band's index.
    void SetBandIndex(int index);
    // Header row inside the band: the written row, within the list's header rows.
    int RowIndex() const;
    void SetRowIndex(int index);
    // Position among the shown columns of the same band row, in column-list order; -1 when
    // the column is not shown. Never stored.
    int ColIndex() const;
    // Moves the column to that position of its band row (the last position for one beyond).
    void SetColIndex(int index);
    // Header rows the header may span in the last used row of its band; 0 = no limit.
    int HeaderMaxLineCount() const { return FHeaderMaxLineCount; }
    void SetHeaderMaxLineCount(int count);

    fw::TNotifyEvent OnChange;
    TdxTLCustomDrawCell OnCustomDrawCell;
    TdxTLCustomDrawHeader OnCustomDrawColumnHeader;
    fw::TNotifyEvent OnValidate;

    // --- Not published ----------------------------------------------------------------------
    TdxColumnAssignedValues AssignedValues() const { return FAssignedValues; }
    // The row last written to RowIndex, kept beyond the header rows; stored as the hidden
    // property "StoredRowIndex" when not 0.
    int StoredRowIndex() const { return FStoredRowIndex; }
    void SetStoredRowIndex(int index);
    // The column's place among the sorted columns as a stored layout read it (hidden property
    // "SortedOrder"; -1 = none): loading orders the list's sorted columns by it. A layout
    // stores the place only for one of several sorted columns with aoMultiSort.
    int SortedOrder() const { return FSortedOrder; }
    void SetSortedOrder(int order) { FSortedOrder = order < -1 ? -1 : order; }
    // -1 = none: FieldIndex follows the column's position.
    int ExplicitFieldIndex() const { return FExplicitFieldIndex; }
    void SetFieldIndex(int index);
    // What a stored layout holds for the column: written values and values that differ from
    // their defaults, the hidden properties included; never ColIndex.
    std::vector<fw::TLayoutProperty> StoredProperties() const;

    // --- Virtual operations ---------------------------------------------------------------
    // Writes the editor's text to the node's texts, then reads the node's value back into it.
    virtual void StoreEditValue(TdxTreeListNode* node, TdxInplaceTextEdit& editor);
    virtual bool HasCellCustomDraw() const { return bool(OnCustomDrawCell); }
    // Unless the list is setting up an editor: tells the list, then raises OnChange.
    virtual void ValueChanged();
    // Raises OnCustomDrawCell with the column as sender.
    virtual void CustomDrawCell(fw::TCanvas& canvas, fw::TRect rect, TdxTreeListNode* node,
                                bool selected, bool focused, bool newItemRow, std::string& text,
                                fw::TColor& color, fw::TFont& font, fw::TAlignment& alignment,
                                bool& done);
    // Unless the list is setting up an editor: lets the list validate, then raises OnValidate.
    virtual void Validate();
    // Font is now written; the layout follows.
    virtual void FontChanged();
    virtual std::string EditorClassName() const { return "TdxInplaceTreeListTextEdit"; }
    // The node's text for the column.
    virtual std::string DisplayText(TdxTreeListNode* node) const;
    virtual bool CanEdit() const { return !FDisableEditor; }
    // The explicit field index, else the position in the list's column list; -1 outside a
    // list. Every node keeps the column's text at Strings(FieldIndex()).
    virtual int FieldIndex() const;
    // Row height the column needs beyond its font; 0 here.
    virtual int RequiredRowHeight(fw::TCanvas& canvas);
    // Cells that always wrap their text (memo-like columns); plain text cells do not.
    virtual bool IsMultiLine() const { return false; }
    // The column's painter draws a cell that no custom-draw handler finished: here the text
    // output of the list (the painter named by EditorClassName).
    virtual void PaintCell(fw::TCanvas& canvas, const fw::TRect& rect,
                           const TdxTreeListCellViewData& data, fw::TBitmap* paintBitmap);
    // Hands ReadOnly, CharCase, MaxLength, OEMConvert and PasswordChar to the editor and routes
    // its change and validate notifications to ValueChanged and Validate.
    virtual void InitEditor(TdxInplaceTextEdit& editor);
    // Puts the node's text for the column into the editor.
    virtual void LoadEditor(TdxInplaceTextEdit& editor, TdxTreeListNode* node);
    virtual void GetCellViewParams(TdxTreeListNode* node, TdxCellViewParams& params);
    // The view parameters of the node's cell with its text as shown: CharCase and
    // PasswordChar applied. What a cell paints and what measuring its lines measures.
    TdxCellViewParams CellView(TdxTreeListNode* node);
    // Moves the column in its list's column list (SetIndex).
    virtual void MoveTo(int position);
    virtual fw::TAlignment DefaultAlignment() const { return fw::taLeftJustify; }
    virtual std::string DefaultCaption() const { return {}; }
    virtual int DefaultMaxLength() const { return 0; }
    virtual bool DefaultReadOnly() const { return false; }
    virtual int DefaultWidth() const { return kDefaultWidth; }
    virtual int DefaultHeaderMaxLineCount() const { return 1; }
    // Width of the node's display text in the canvas's font (best fit).
    virtual int ContentWidth(fw::TCanvas& canvas, TdxTreeListNode* node) const;
    // The text shown for a value; unchanged here.
    virtual std::string ConvertDisplayText(std::string text) const { return text; }
    // Clears every assigned-value flag and puts the layout properties back to their defaults.
    virtual void RestoreDefaults();

    static constexpr int kDefaultWidth = 100;
    static constexpr int kDefaultMinWidth = 20;

protected:
    void BeforeDestruction() override;
    void Loaded() override;
    // Tells the list: a repaint, or with `layout` a new layout.
    void Changed(bool layout);
    // Descendant classes start with their own value.
    int FHeaderMaxLineCount = 1;

private:
    friend class TCustomdxTreeListLayout;
    friend class TCustomdxTreeListControl;
    void Detach();
    void CopyListFont();
    void Assigned(TdxColumnAssignedValue value) { FAssignedValues = FAssignedValues.With(value); }

    TCustomdxTreeListControl* FTreeList = nullptr;
    std::string FPendingTreeListName;
    TdxColumnAssignedValues FAssignedValues;
    fw::TAlignment FAlignment = fw::taLeftJustify;
    std::string FCaption;
    TEditCharCase FCharCase = ecNormal;
    fw::TColor FColor = fw::clWindow;
    bool FDisableCaption = false;
    bool FDisableCustomizing = false;
    bool FDisableDragging = false;
    bool FDisableEditor = false;
    fw::TFont FFont;
    bool FCopyingFont = false;
    fw::TAlignment FHeaderAlignment = fw::taLeftJustify;
    std::unique_ptr<fw::TBitmap> FHeaderGlyph;
    int FMaxLength = 0;
    int FMinWidth = kDefaultMinWidth;
    bool FOEMConvert = false;
    char FPasswordChar = '\0';
    bool FReadOnly = false;
    bool FSizing = true;
    TdxTreeListColumnSort FSorted = csNone;
    bool FTabStop = true;
    TTextLayout FVertAlignment = tlTop;
    bool FVisible = true;
    int FWidth = kDefaultWidth;
    int FBandIndex = 0;
    // The layout row (kept within the header rows by compaction) and the row last written.
    int FRowIndex = 0;
    int FStoredRowIndex = 0;
    int FSortedOrder = -1;
    int FExplicitFieldIndex = -1;
};

} // namespace dxtl
