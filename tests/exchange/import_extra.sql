-- Rows of the import tests, applied after the sample and the test-only rows.
-- DispF 0 or sizes that no other row has, so the other lists stay as they are.

-- An H model whose name holds the multiplication sign (a copy of H400-1).
INSERT INTO 柱脚 VALUES (
    'H400×1', 1, 600, 420, 480, 300, 0, 0, 0, 0, 36, 220, 100.1, 0, 2, 2,
    24, 4.14, 1.62, 40.6, 15.89, 6,
    30, 5.25, 2.05, 51.48, 20.1, 10,
    NULL, NULL, NULL, NULL, NULL, NULL,
    NULL, NULL, NULL, NULL, NULL, NULL,
    9, 12, 0, 410, 330, 15, 315, 60, 60, 60, 60,
    13, 200, 13, 100, 100, 110, 184, 400, 0, 0,
    9200001, 0, 0, NULL, NULL, 0, 0, NULL, NULL, 0, 300, 2);
INSERT INTO KvData VALUES (
    9200001, 24, 280, 0, 0.4, 18, 22, 30, 38, 45, 56, 0, 0, 0,
    800, 850, 900, 950, 600, 650, 700, 750,
    '19', '19', '19', '19', 'SD345', 'SD345', 'SD345', 'SD345',
    3, 4, 4, 5, 2, 3, 3, 4, 6, 10, 10, 14,
    '10', '10', '13', '13', 'SD295', 'SD295', 'SD295', 'SD295',
    2, 2, 3, 3, 2, 2, 3, 3, 100, 100, 100, 100, 760);
INSERT INTO KvData VALUES (
    9200001, 30, 340, 0, 0.4, 28, 35, 47, 59, 71, 89, 0, 0, 0,
    800, 850, 900, 950, 600, 650, 700, 750,
    '22', '22', '22', '22', 'SD345', 'SD345', 'SD345', 'SD345',
    3, 4, 4, 5, 2, 3, 3, 4, 6, 10, 10, 14,
    '13', '13', '13', '13', 'SD295', 'SD295', 'SD295', 'SD295',
    2, 2, 3, 3, 2, 2, 3, 3, 100, 100, 100, 100, 880);

-- The base choice: sections of size 600 (box) and 612 (H, nominal 600),
-- and 610 whose nominal size is no number; models of column size 600 only.
INSERT INTO 柱 VALUES (9300001, 0, 'BCR', '600', '22', NULL, NULL, '600', NULL, 500, 9000, 9000, 10500, 10500);
INSERT INTO 柱 VALUES (9300002, 2, 'SS', '612', '20', '300', '12', '600', '300', 200, 5000, 600, 5600, 900);
INSERT INTO 柱 VALUES (9300003, 0, 'BCR', '610', '22', NULL, NULL, 'x', NULL, 500, 9000, 9000, 10500, 10500);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('QB600', 1, 1, 24, NULL, NULL, NULL, 600, 9300101, 0, 0, 0, 0, 0, 0, 0);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('QA600', 1, 2, 24, 30, NULL, NULL, 600, 9300102, 1, 0, 0, 0, 0, 0, 0);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('KC600', 1, 1, 27, NULL, NULL, NULL, 600, 9300103, 1, 0, 0, 0, 0, 0, 0);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('QC600', 1, 1, 30, NULL, NULL, NULL, 600, 9300104, 2, 0, 0, 0, 0, 0, 0);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('ZA600', 2, 1, 24, NULL, NULL, NULL, 600, 9300105, 1, 0, 0, 0, 0, 0, 0);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('WA600', 4, 3, 24, 30, 36, NULL, 600, 9300106, 1, 0, 0, 0, 0, 0, 0);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('KN600', 5, 4, 30, 36, 42, 48, 600, 9300107, 1, 0, 0, 0, 0, 0, 0);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('SV600', 6, 1, 30, NULL, NULL, NULL, 600, 9300108, 1, 0, 0, 0, 0, 0, 0);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('QD600', 0, 1, 30, NULL, NULL, NULL, 600, 9300109, 1, 0, 0, 0, 0, 0, 0);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('RA600', 1, 1, 30, NULL, NULL, NULL, 600, 9300110, 1, 0, 1, 0, 0, 0, 0);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('QE600', 1, 1, 24, NULL, NULL, NULL, 600, 9300111, 1, 0, 0, 0, 0, 0, 0);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('HA600', 1, 2, 24, 30, NULL, NULL, 600, 9300112, 1, 300, 2, 606, 576, 18, 310);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('HB600', 1, 2, 24, 30, NULL, NULL, 600, 9300113, 1, 600, 2, 605, 576, 18, 310);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('HC600', 1, 2, 24, 30, NULL, NULL, 600, 9300114, 1, 600, 2, 606, 577, 18, 310);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('HD600', 1, 2, 24, 30, NULL, NULL, 600, 9300115, 1, 600, 2, 606, 576, 18, 309);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('HE600', 1, 2, 24, 30, NULL, NULL, 600, 9300116, 1, 600, 2, 606, 576, 17.9, 310);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('HF600', 1, 2, 24, 30, NULL, NULL, 600, 9300117, 1, 299, 2, 700, 500, 30, 400);
INSERT INTO 柱脚 (形式名, KvV, AbCount, AB径1, AB径2, AB径3, AB径4, ColSize, ID, DispF, ColWidth, ColV, E, F, W, G) VALUES ('KCH600', 1, 2, 24, 30, NULL, NULL, 600, 9300118, 0, 600, 2, 606, 576, 18, 310);
