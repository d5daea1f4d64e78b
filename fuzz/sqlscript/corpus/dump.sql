DROP TABLE IF EXISTS Repair;
CREATE TABLE Repair(ID INTEGER, Abstract TEXT);
INSERT INTO Repair(ID,Abstract) VALUES(1,'it''s '||char(59)||' ok');
