-- Adds the stock journal ruhtovariv to a database created before it, and writes its opening rows:
-- one row 'залишок на початок' per stock row of baza and nayavnistvmagazuni, so that the journal
-- explains every quantity that stands. Run it once on the shared server with the mariadb client:
--   mariadb -u <admin> <database> < db/upgrade-journal.sql
-- Running it again changes nothing: opening rows are written only while the journal has none. Load it
-- after db/demo.sql too, so that the demo stock has its opening rows. The program's internal server
-- runs it itself at every start.

CREATE TABLE IF NOT EXISTS ruhtovariv (
  Id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Moment DATETIME(6) NOT NULL,
  Korystuvach VARCHAR(128) NOT NULL,
  VydDokumenta VARCHAR(20) NOT NULL,
  IdDokumenta INT,
  IdTovary INT,
  IdMagazuny INT,
  Kilkist DOUBLE NOT NULL,
  Zalyshok DOUBLE NOT NULL,
  Komanda CHAR(36) CHARACTER SET ascii NOT NULL,
  KEY ruhtovariv_tovar (IdTovary, IdMagazuny, Id),
  KEY ruhtovariv_komanda (Komanda),
  KEY ruhtovariv_dokument (IdDokumenta)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Opening rows are written once: while the journal has none. A stock row whose quantity the journal
-- already explains in full (a posting made since the table was created) needs none; for any other,
-- the opening quantity is what the stock row held before the journal's rows, so that they add up to it.
SET @ruhtovariv_opening = (SELECT COUNT(*) = 0 FROM ruhtovariv WHERE VydDokumenta = 'залишок на початок');
SET @ruhtovariv_komanda = UUID();

INSERT INTO ruhtovariv (Moment, Korystuvach, VydDokumenta, IdDokumenta, IdTovary, IdMagazuny, Kilkist, Zalyshok, Komanda)
SELECT NOW(6), SUBSTRING_INDEX(USER(), '@', 1), 'залишок на початок', NULL, opening.IdTovary, opening.IdMagazuny,
       opening.Stock - opening.Journal, opening.Stock - opening.Journal, @ruhtovariv_komanda
FROM (
  SELECT b.Id AS StockId, 0 AS Place, b.IdTovary, NULL AS IdMagazuny, COALESCE(b.KilkistNaBazi, 0) AS Stock,
         COALESCE(SUM(r.Kilkist), 0) AS Journal, COUNT(r.Id) AS JournalRows
  FROM baza b LEFT JOIN ruhtovariv r ON r.IdTovary = b.IdTovary AND r.IdMagazuny IS NULL
  GROUP BY b.Id
  UNION ALL
  SELECT n.Id, 1, n.IdTovary, n.IdMagazuny, COALESCE(n.Kilkist, 0), COALESCE(SUM(r.Kilkist), 0), COUNT(r.Id)
  FROM nayavnistvmagazuni n LEFT JOIN ruhtovariv r ON r.IdTovary = n.IdTovary AND r.IdMagazuny = n.IdMagazuny
  GROUP BY n.Id
) AS opening
WHERE @ruhtovariv_opening AND (opening.JournalRows = 0 OR ABS(opening.Stock - opening.Journal) > 1e-9)
ORDER BY opening.Place, opening.StockId;
