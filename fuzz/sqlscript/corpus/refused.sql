/* c; */ ATTACH 'x' AS y; -- tail;
SELECT "a;b", [c;d], `e;f` FROM pragma_table_info('t');