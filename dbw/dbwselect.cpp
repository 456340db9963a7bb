#include "dbw/dbwselect.h"

btkstring dbwSQLId::text(dbwAdapter* adapter) const {
    if (qualifier.empty()) return adapter->quoteIdentifier(name);
    return qualifier + "." + adapter->quoteIdentifier(name);
}

void dbwSQLCond::add(const char* condition) {
    if (!condition || !*condition) return;
    auto* item = new dbwSQLCondItem;
    item->text = condition;
    items.add(item);
}

namespace {

// Takes a part's main table (at most one part may name it) and copies of its
// joins into the collector.
void gather(dbwSQLDataBind& collector, const dbwSQLDataBind& part) {
    if (!part.table.name.empty()) {
        if (!collector.table.name.empty()) throw dbwSQLBuildError();
        collector.table = part.table;
    }
    for (const dbwSQLJoin* join : part.joins) collector.joins.add(new dbwSQLJoin(*join));
}

}  // namespace

btkstring buildSelectSql(const dbwSelect& select, const dbwAdaRef& adapterRef) {
    dbwAdapter* adapter = adapterRef.get();
    dbwSQLDataBind from;
    gather(from, select.bind);
    gather(from, select.columns.bind);
    gather(from, select.conditions.bind);
    gather(from, select.order.bind);
    if (from.table.name.empty()) throw dbwSQLBuildError();

    btkstring sql = "SELECT ";
    for (int i = 0; i < select.columns.fields.count(); ++i) {
        if (i) sql += ",";
        sql += select.columns.fields[i]->text(adapter);
    }
    sql += btkstring(" FROM ") + adapter->quoteIdentifier(from.table.name) + " " + from.table.qualifier + " ";
    for (const dbwSQLJoin* join : from.joins)
        sql += btkstring(" ") + join->kind + " " + adapter->quoteIdentifier(join->table) + " " + join->alias + " " +
               " ON (" + join->condition + ") ";

    const dbwSQLCond& cond = select.conditions;
    if (cond.items.count()) {
        sql += " WHERE ";
        for (int i = 0; i < cond.items.count(); ++i) {
            if (i) sql += cond.connector;
            sql += btkstring(" (") + cond.items[i]->text + ") ";
        }
    }
    if (select.order.items.count()) {
        sql += " ORDER BY ";
        for (int i = 0; i < select.order.items.count(); ++i) {
            const dbwSQLOrderItem* item = select.order.items[i];
            if (i) sql += ",";
            sql += item->column.text(adapter);
            if (item->descending) sql += " DESC ";
            sql += btkstring(" ") + item->trailing + " ";
        }
    }
    if (select.limit.limited) sql += btkstring(" ") + adapter->limitClause(select.limit.offset, select.limit.count);
    return sql;
}

dbwResultRef dbwSelect::run(const dbwAdaRef& adapter) const { return adapter->query(buildSelectSql(*this, adapter)); }
