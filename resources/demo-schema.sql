-- The examination database of the demo host (SQLite, text stored as UTF-8).
-- Only the tables, views and columns the score-entry module reads must exist on a
-- real server; the other columns make the demo data look like the real thing.

-- One row per candidate sheet: admission number, room and seat, objective score,
-- the subjective score keyed in by the module (text, NULL until entered) and the
-- absence mark ("Q" or "q" when absent).
CREATE TABLE t_omr (
    zkzh  TEXT NOT NULL,
    kch   TEXT,
    zwh   TEXT,
    kgf   TEXT,
    tttt  TEXT,
    qk    TEXT
);

-- Registration: admission number, name, sex, date of birth, level entered.
CREATE TABLE t_bm (
    zkzh  TEXT NOT NULL,
    xm    TEXT,
    xb    TEXT,
    csrq  TEXT,
    bkjb  TEXT
);

-- The installation's examination settings: jb, dm, kc, date, time.
CREATE TABLE t_setting (
    ParamName   TEXT NOT NULL,
    ParamValue  TEXT
);

CREATE TABLE t_version (
    dbversion  TEXT
);

-- Every organisation of the examination: the national root (jb 0), provinces (1),
-- cities (2) and exam sites (3); szds is the city a site belongs to. In the older
-- schema a site code has 4 characters and may equal a city code, so dm alone is
-- no key.
CREATE TABLE t_scbjg (
    dm    TEXT NOT NULL,
    dwmc  TEXT NOT NULL,
    jb    INTEGER NOT NULL,
    szds  TEXT
);

CREATE VIEW v_ssjg AS SELECT dm, dwmc FROM t_scbjg WHERE jb = 1;
CREATE VIEW v_dsjg AS SELECT dm, dwmc FROM t_scbjg WHERE jb = 2;
CREATE VIEW v_kdjg AS SELECT dm, dwmc, szds FROM t_scbjg WHERE jb = 3;

CREATE INDEX ix_scbjg_jb_dm ON t_scbjg (jb, dm);
CREATE INDEX ix_scbjg_jb_szds ON t_scbjg (jb, szds);

-- @indexes: the generator runs what follows after the candidates are written,
-- because building an index once is several times faster than filling it row by row.
CREATE UNIQUE INDEX ix_omr_zkzh ON t_omr (zkzh);
CREATE INDEX ix_bm_zkzh ON t_bm (zkzh);
