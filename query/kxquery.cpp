#include "query/kxquery.h"

#include <unordered_set>
#include <vector>

#include "foundation/btkmessagebox.h"
#include "query/sqlparser.h"
#include "songs/dbfile.h"
#include "songs/kxsong.h"
#include "songs/kxspace.h"
#include "songs/kxview.h"

// ---- running

void StdQuerySource::songs(btkCntVec<KxSong*>& list) {
    // A set, not a search of the list: a database may hold many thousand
    // songs.
    std::unordered_set<KxSong*> taken(list.begin(), list.end());
    btkCntVec<KxSong*> viewSongs;
    for (KxView* view : views) {
        view->getSongs(viewSongs);
        for (KxSong* song : viewSongs)
            if (taken.insert(song).second) list.add(song);
    }
}

void SetQuery::select(btkCntVec<KxSong*>& list) {
    list.clear();
    btkCntVec<KxSong*> all;
    source->songs(all);
    for (KxSong* song : all)
        if (!condition.isSet() || queryValueIsTrue(condition->evaluate(song))) list.add(song);
}

namespace {

// The values an UPDATE may set, kept to put back when it is refused.
struct SongValues {
    explicit SongValues(const KxSong& s)
        : title(s.title),
          group(s.group),
          author(s.author),
          text(s.text),
          remark(s.remark),
          special(s.special),
          nonet(s.nonet),
          netmodified(s.netmodified),
          locid(s.locid),
          netid(s.netid) {
        for (int i = 0; i < s.vars.count(); ++i) vars.push_back(s.vars.item(i));
    }
    void restore(KxSong& s) const {
        s.title = title;
        s.group = group;
        s.author = author;
        s.text = text;
        s.remark = remark;
        s.special = special;
        s.vars.clear();
        for (const btkVarListItem& v : vars) s.vars.add(new btkVarListItem(v));
        s.nonet = nonet;
        s.netmodified = netmodified;
        s.locid = locid;
        s.netid = netid;
    }

    btkstring title, group, author, text, remark, special;
    std::vector<btkVarListItem> vars;
    bool nonet, netmodified;
    int locid, netid;
};

}  // namespace

void UpdateQuery::execute() {
    btkCntVec<KxSong*> songs;
    select(songs);
    std::vector<SongValues> before;
    before.reserve(static_cast<size_t>(songs.count()));
    for (KxSong* song : songs) before.emplace_back(*song);
    // A field the database reader would refuse must never reach a file:
    // the whole statement is undone and reported.
    const auto undo = [&] {
        for (int i = 0; i < songs.count(); ++i) before[static_cast<size_t>(i)].restore(*songs[i]);
    };
    KxSong* refused = nullptr;
    btkstring field;
    try {
        for (KxSong* song : songs) {
            for (const QueryAssign* assign : assigns) assign->run(song);
            field = SongFieldTooLong(*song);
            if (!field.empty()) {
                refused = song;
                break;
            }
        }
    } catch (...) {
        undo();
        throw;
    }
    if (refused) {
        undo();  // the message names the song as it stays
        throw btkError(btkFormat("Úprava nebyla provedena.\n%s", SongFieldTooLongText(*refused, field).c_str()));
    }
    for (KxSong* song : songs) {
        song->setModified(false);
        song->changed();
    }
}

void DeleteQuery::execute() {
    btkCntVec<KxSong*> songs;
    select(songs);
    for (KxSong* song : songs) song->release();
}

// ---- assignments

namespace {

#define KX_FIELD_ASSIGN(Name, statement)                                               \
    class Name final : public QueryAssign {                                            \
    public:                                                                            \
        using QueryAssign::QueryAssign;                                                \
        void apply(KxSong* song, const btkstring& value) const override { statement; } \
    }
KX_FIELD_ASSIGN(TitleAssign, song->title = value);
KX_FIELD_ASSIGN(GroupAssign, song->group = value);
KX_FIELD_ASSIGN(AuthorAssign, song->author = value);
KX_FIELD_ASSIGN(TextAssign, song->text = value);
KX_FIELD_ASSIGN(RemarkAssign, song->remark = value);
KX_FIELD_ASSIGN(SpecialAssign, song->special = value);
KX_FIELD_ASSIGN(NoNetAssign, song->nonet = btkAtoi(value) != 0);
KX_FIELD_ASSIGN(NetModifiedAssign, song->netmodified = btkAtoi(value) != 0);
// The database's highest local id follows, so a new song never gets an id
// that an UPDATE gave away.
KX_FIELD_ASSIGN(LocIdAssign, song->setLocid(btkAtoi(value)));
KX_FIELD_ASSIGN(NetIdAssign, song->netid = btkAtoi(value));
#undef KX_FIELD_ASSIGN

}  // namespace

QueryAssign* NewFieldAssign(int field, SongExpr* value) {
    switch (field) {
    case QF_TITLE: return new TitleAssign(value);
    case QF_GROUP: return new GroupAssign(value);
    case QF_AUTHOR: return new AuthorAssign(value);
    case QF_TEXT: return new TextAssign(value);
    case QF_REMARK: return new RemarkAssign(value);
    case QF_SPECIAL: return new SpecialAssign(value);
    case QF_NONET: return new NoNetAssign(value);
    case QF_NETMODIFIED: return new NetModifiedAssign(value);
    case QF_LOCID: return new LocIdAssign(value);
    case QF_NETID: return new NetIdAssign(value);
    default: return nullptr;
    }
}

void VarAssign::apply(KxSong* song, const btkstring& value) const { song->vars.set(name, value); }

// ---- parsing

namespace {

class StatementParser {
public:
    explicit StatementParser(const char* text) { parser.setText(text); }

    // The whole text as one statement; throws ParseError.
    btkAutoPtr<Query> parse() {
        parser.start();
        btkAutoPtr<Query> query;
        switch (parser.token()) {
        case SQL_SELECT: query.reset(parseSelectOrDelete(true)); break;
        case SQL_DELETE: query.reset(parseSelectOrDelete(false)); break;
        case SQL_UPDATE: query.reset(parseUpdate()); break;
        default: parser.fail("očekáváno SELECT, UPDATE nebo DELETE");
        }
        // A second statement after a complete one is an error too: it must
        // not run in place of the first.
        if (parser.token() != SQL_END)
            parser.fail(btkFormat("Očekáván konec dotazu, nalezeno %s", SqlParser::tokenName(parser.token()).c_str()));
        return query;
    }

private:
    Query* parseSelectOrDelete(bool select) {
        parser.nextToken();
        parser.expect(SQL_FROM);
        btkAutoPtr<QuerySource> source(parseSources());
        SongExpr* condition = parseWhere();
        if (select) return new SelectQuery(source.release(), condition);
        return new DeleteQuery(source.release(), condition);
    }

    Query* parseUpdate() {
        parser.nextToken();
        btkAutoPtr<QuerySource> source(parseSources());
        parser.expect(SQL_SET);
        btkObjArray<QueryAssign> assigns;
        while (parser.token() == SQL_IDENT) {
            assigns.add(parseAssign());
            if (parser.token() != ',') break;
            parser.nextToken();
        }
        SongExpr* condition = parseWhere();
        return new UpdateQuery(source.release(), std::move(assigns), condition);
    }

    QueryAssign* parseAssign() {
        const btkstring target = parser.tokenText();
        const int targetAt = parser.tokenOffset();
        parser.nextToken();
        parser.expect('=');
        SongExprPtr value = parser.parseExpression(false);
        if (target.startsWith("@")) return new VarAssign(target.substr(1, target.length() - 1), value.release());
        const int field = QueryFieldOf(target);
        if (field < 0) parser.failAt(btkFormat("Neznámá proměnná %s", target.c_str()), targetAt);
        return NewFieldAssign(field, value.release());
    }

    // The condition after WHERE, or null without WHERE.
    SongExpr* parseWhere() {
        if (parser.token() != SQL_WHERE) return nullptr;
        parser.nextToken();
        return parser.parseExpression(false).release();
    }

    // Every name is read first, then looked up.
    QuerySource* parseSources() {
        btkStrings names;
        btkCntVec<int> offsets;
        for (;;) {
            if (parser.token() != SQL_IDENT && parser.token() != SQL_STRING)
                parser.fail(btkFormat("Očekáván žetězec nebo identifikátor, nalezen %s",
                                      SqlParser::tokenName(parser.token()).c_str()));
            names.add(parser.tokenText());
            offsets.add(parser.tokenOffset());
            parser.nextToken();
            if (parser.token() != ',') break;
            parser.nextToken();
        }
        btkCntVec<KxView*> views;
        for (int i = 0; i < names.count(); ++i) {
            KxView* view = gKxSpace ? gKxSpace->findView(names[i]) : nullptr;
            if (!view) parser.failAt(btkFormat("Nenalezena tabulka %s", names[i].c_str()), offsets[i]);
            views.add(view);
        }
        return new StdQuerySource(views);
    }

    SqlParser parser;
};

}  // namespace

btkAutoPtr<Query> parseQueryStatement(const char* text) {
    try {
        return StatementParser(text).parse();
    } catch (const ParseError& e) {
        ErrorBox(e.message);
        return btkAutoPtr<Query>();
    }
}
