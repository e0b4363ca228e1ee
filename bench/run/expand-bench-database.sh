#!/usr/bin/env bash
# Makes run_bench's database of PAIRS channel pairs and 30 days from its 1-day database, by SQL:
# the 30-minute and hourly values of the first day repeated for 29 more days, the daily values
# of those days and the December monthly value, and the task's period made 30 days long. The
# generator writes channel by channel, which at 10,000 pairs and 30 days (44 M rows) takes hours on
# a loaded machine; this takes minutes, since it writes in the table's key order.
#
#   bench/run/expand-bench-database.sh build/release 10000
#   build/release/bin/run_bench --pairs 10000 --days 30
set -euo pipefail

build=${1:?build directory}
pairs=${2:?channel pairs}
cache=$build/bench-cache
version=$(sed -n 's/.*kGeneratorVersion = \([0-9]*\);.*/\1/p' "$(dirname "$0")/../../host/demo/include/tldemo/scenario.hpp")
small=$cache/run_v${version}_p${pairs}_d1.db
big=$cache/run_v${version}_p${pairs}_d30.db
[ -f "$small" ] || "$build/bin/run_bench" --pairs "$pairs" --days 1 >/dev/null
[ ! -f "$big" ] || { echo "$big exists"; exit 0; }

first=45597 # 1 November 2024
sql="attach '$small' as s; pragma journal_mode = wal; pragma cache_size = -262144; begin;"
sql+="delete from data where parnumber >= 30000;"
for parnumber in 12 18; do
    for day in $(seq 1 29); do
        sql+="insert into data select parnumber, object, objtype, item, data_date + $day, season, value0, value1,
              tvkstatus, rcvstamp from s.data where parnumber = $parnumber and data_date > $first + 0.0001
              and data_date < $first + 1.0001 order by data_date, season, object, item, objtype;"
    done
done
for day in $(seq 1 29); do
    sql+="insert or ignore into data select parnumber, object, objtype, item, $first + 1 + $day, season, value0,
          value1, tvkstatus, rcvstamp from s.data where parnumber = 26 and data_date = $first + 1
          order by data_date, season, object, item, objtype;"
done
sql+="insert or ignore into data select parnumber, object, objtype, item, $first + 30, season, value0, value1,
      tvkstatus, rcvstamp from s.data where parnumber = 36 and data_date = $first
      order by data_date, season, object, item, objtype;"
sql+="update settings set value = '$((first + 30))' where key_fold = 'enddatetime';"
sql+="commit;"
cp "$small" "$big.part"
sqlite3 "$big.part" "$sql"
sqlite3 "$big.part" "pragma wal_checkpoint(truncate);" >/dev/null
mv "$big.part" "$big"
sqlite3 "$big" "select parnumber, count(*) from data group by parnumber"
