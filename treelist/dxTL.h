// The multi-column tree list control: its nodes, columns and bands, the list of nodes, its
// layout, its paint pass and the stored node stream. One header per class family:
//
//   dxTLTypes.h    errors, values, option sets, enumerations, events, cell view data
//   dxTLNode.h     TdxTreeListNode, TdxTreeListTextNode
//   dxTLList.h     TCustomdxTreeList: nodes, update lock, row index, node stream
//   dxTLColumn.h   TdxTreeListColumn
//   dxTLBands.h    TdxTreeListBand, TdxTreeListBands
//   dxTLSettings.h    TdxTreeListSettings: the plain published settings
//   dxTLLayoutList.h  TCustomdxTreeListLayout: columns, bands and their layout
//   dxTLControl.h  TCustomdxTreeListControl, TdxTreeList, RegisterTreeList
//
// Which source file implements which concern: docs/ARCHITECTURE.md.
#pragma once

#include "treelist/dxTLBands.h"
#include "treelist/dxTLColumn.h"
#include "treelist/dxTLControl.h"
#include "treelist/dxTLList.h"
#include "treelist/dxTLNode.h"
#include "treelist/dxTLTypes.h"
