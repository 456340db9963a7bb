// The statements of the query language over the open views of the root:
//   SELECT FROM source-list [WHERE condition]
//   DELETE FROM source-list [WHERE condition]
//   UPDATE source-list SET [assignment {, assignment}] [WHERE condition]
// source-list is names of views (identifiers or strings), looked up in the
// root ignoring ASCII case. A statement is parsed, checked and run once; a
// parse error is reported before anything runs, so nothing changes.
#pragma once

#include <utility>

#include "foundation/btkarray.h"
#include "foundation/btkref.h"
#include "query/songexpr.h"

class KxSong;
class KxView;
class SelectQuery;
class UpdateQuery;
class DeleteQuery;

class Query {
public:
    Query() = default;
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    virtual ~Query() = default;
    virtual SelectQuery* asSelect() { return nullptr; }
    virtual UpdateQuery* asUpdate() { return nullptr; }
    virtual DeleteQuery* asDelete() { return nullptr; }
    virtual bool isModifying() { return false; }
    // Runs an UPDATE or DELETE; nothing for the others.
    virtual void execute() {}
};

// Where a statement takes its songs from.
class QuerySource {
public:
    QuerySource() = default;
    QuerySource(const QuerySource&) = delete;
    QuerySource& operator=(const QuerySource&) = delete;
    virtual ~QuerySource() = default;
    // Appends the source's songs to the list, each song once.
    virtual void songs(btkCntVec<KxSong*>& list) = 0;
};

// The views named in the statement, in the order named (not owned). A song
// in two of them is taken once, at its first place.
class StdQuerySource final : public QuerySource {
public:
    explicit StdQuerySource(const btkCntVec<KxView*>& views) : views(views) {}
    void songs(btkCntVec<KxSong*>& list) override;

private:
    btkCntVec<KxView*> views;
};

// A statement over a source with an optional condition.
class SetQuery : public Query {
public:
    // Takes ownership of both; condition may be null (no WHERE).
    SetQuery(QuerySource* source, SongExpr* condition) : source(source), condition(condition) {}
    // Empties the list and fills it with the source's songs for which the
    // condition is true, in source order.
    void select(btkCntVec<KxSong*>& list);

private:
    btkAutoPtr<QuerySource> source;
    SongExprPtr condition;
};

class SelectQuery final : public SetQuery {
public:
    using SetQuery::SetQuery;
    SelectQuery* asSelect() override { return this; }
};

// One "field = value" of UPDATE; owns the value expression.
class QueryAssign {
public:
    explicit QueryAssign(SongExpr* value) : value(value) {}
    QueryAssign(const QueryAssign&) = delete;
    QueryAssign& operator=(const QueryAssign&) = delete;
    virtual ~QueryAssign() = default;
    // Evaluates the value for the song and writes it into the song.
    void run(KxSong* song) const { apply(song, value->evaluate(song)); }
    virtual void apply(KxSong* song, const btkstring& value) const = 0;

private:
    SongExprPtr value;
};

// The assignment of a field (QueryField, see songexpr.h); null for no field.
QueryAssign* NewFieldAssign(int field, SongExpr* value);

// Sets the song's variable; an empty value removes it.
class VarAssign final : public QueryAssign {
public:
    VarAssign(const btkstring& name, SongExpr* value) : QueryAssign(value), name(name) {}
    void apply(KxSong* song, const btkstring& value) const override;

private:
    btkstring name;  // without the at-sign
};

// Assignments run song by song, each in order, so a later one sees what an
// earlier one set; then every selected song is marked modified (not for the
// internet) and posted changed.
class UpdateQuery final : public SetQuery {
public:
    // The assignments in source order, owned from now on.
    UpdateQuery(QuerySource* source, btkObjArray<QueryAssign>&& assigns, SongExpr* condition)
        : SetQuery(source, condition), assigns(std::move(assigns)) {}
    UpdateQuery* asUpdate() override { return this; }
    bool isModifying() override { return true; }
    void execute() override;

private:
    btkObjArray<QueryAssign> assigns;
};

// Releases the selected songs: the next queue pass takes them out of their
// databases and deletes them.
class DeleteQuery final : public SetQuery {
public:
    using SetQuery::SetQuery;
    DeleteQuery* asDelete() override { return this; }
    bool isModifying() override { return true; }
    void execute() override;
};

// Parses one whole statement. On an error shows its message in the error
// box and returns null.
[[nodiscard]] btkAutoPtr<Query> parseQueryStatement(const char* text);
