#pragma once

#include <shldisp.h>

#include <memory>
#include <string>

#include "AnswerTable.h"
#include "DispatchObject.h"

// The shell's automation objects as far as the program uses them, answering from the
// test's table. Every other method answers E_NOTIMPL.
namespace stand_in {

class StandInItem : public DispatchObject<FolderItem> {
  public:
    explicit StandInItem(std::wstring name) : m_name(std::move(name)) {}
    const std::wstring& name() const { return m_name; }
    // The stand-in's own item held by a VT_DISPATCH argument; nullptr for anything else.
    static StandInItem* from(const VARIANT& argument);

    HRESULT STDMETHODCALLTYPE get_Application(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Parent(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Name(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Name(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Path(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_GetLink(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_GetFolder(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IsLink(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IsFolder(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IsFileSystem(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IsBrowsable(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ModifyDate(DATE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ModifyDate(DATE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Size(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Type(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Verbs(FolderItemVerbs**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InvokeVerb(VARIANT) override { return E_NOTIMPL; }

  protected:
    void* ownInterface(REFIID iid) override;

  private:
    std::wstring m_name;
};

class StandInFolder : public DispatchObject<Folder> {
  public:
    explicit StandInFolder(std::shared_ptr<const AnswerTable> table) : m_table(std::move(table)) {}

    // An item for every file the table names, S_FALSE and none for any other name.
    HRESULT STDMETHODCALLTYPE ParseName(BSTR name, FolderItem** item) override;
    // A heading for VT_EMPTY or an empty VT_BSTR, a detail for one of the stand-in's items.
    HRESULT STDMETHODCALLTYPE GetDetailsOf(VARIANT item, int column, BSTR* text) override;

    HRESULT STDMETHODCALLTYPE get_Title(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Application(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Parent(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ParentFolder(Folder**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Items(FolderItems**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NewFolder(BSTR, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveHere(VARIANT, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyHere(VARIANT, VARIANT) override { return E_NOTIMPL; }

  private:
    HRESULT detail(const StandInItem& item, int column, BSTR* text);

    std::shared_ptr<const AnswerTable> m_table;
};

class StandInShell : public DispatchObject<IShellDispatch> {
  public:
    explicit StandInShell(std::shared_ptr<const AnswerTable> table) : m_table(std::move(table)) {}

    // A folder for an existing directory given as VT_BSTR, S_FALSE and none otherwise.
    HRESULT STDMETHODCALLTYPE NameSpace(VARIANT folder, Folder** opened) override;

    HRESULT STDMETHODCALLTYPE get_Application(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Parent(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BrowseForFolder(LONG, BSTR, LONG, VARIANT, Folder**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Windows(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Open(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Explore(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MinimizeAll() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UndoMinimizeALL() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FileRun() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CascadeWindows() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TileVertically() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TileHorizontally() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ShutdownWindows() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Suspend() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EjectPC() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTime() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TrayProperties() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Help() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindFiles() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindComputer() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RefreshMenu() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ControlPanelItem(BSTR) override { return E_NOTIMPL; }

  private:
    std::shared_ptr<const AnswerTable> m_table;
};

}  // namespace stand_in
