-- The demo's database: customers, their orders and the items of each order.
CREATE TABLE customers (
  CustNo INTEGER PRIMARY KEY,
  Company TEXT NOT NULL,
  City TEXT,
  Country TEXT
);
INSERT INTO customers VALUES
  (1221, 'Kauai Dive Shoppe', 'Kapaa Kauai', 'US'),
  (1231, 'Unisco', 'Freeport', 'Bahamas'),
  (1351, 'Sight Diver', 'Kato Paphos', 'Cyprus'),
  (1354, 'Cayman Divers World Unlimited', 'Grand Cayman', 'British West Indies'),
  (1356, 'Tom Sawyer Diving Centre', 'Christiansted', 'US Virgin Islands'),
  (1380, 'Blue Jack Aqua Center', 'Waipahu', 'US'),
  (1384, 'VIP Divers Club', 'Christiansted', 'US Virgin Islands'),
  (1510, 'Ocean Paradise', 'Kailua-Kona', 'US'),
  (2156, 'Davy Jones'' Locker', 'Vancouver', 'Canada');

CREATE TABLE orders (
  OrderNo INTEGER PRIMARY KEY,
  CustNo INTEGER NOT NULL REFERENCES customers(CustNo),
  SaleDate TEXT NOT NULL,
  ShipVia TEXT,
  ItemsTotal REAL NOT NULL,
  Paid INTEGER NOT NULL
);
INSERT INTO orders VALUES
  (1003, 1351, '1988-04-12', 'UPS', 1250.00, 1),
  (1004, 2156, '1988-04-17', 'Emery', 7885.00, 1),
  (1005, 1356, '1988-04-20', 'DHL', 4807.00, 0),
  (1006, 1380, '1994-11-06', 'FedEx', 31987.00, 1),
  (1007, 1384, '1988-05-01', 'US Mail', 6500.00, 0),
  (1008, 1510, '1988-05-03', 'UPS', 1449.50, 1);

CREATE TABLE items (
  OrderNo INTEGER NOT NULL REFERENCES orders(OrderNo),
  ItemNo INTEGER NOT NULL,
  Part TEXT NOT NULL,
  Qty INTEGER NOT NULL,
  Discount REAL NOT NULL DEFAULT 0,
  PRIMARY KEY (OrderNo, ItemNo)
);
INSERT INTO items VALUES
  (1003, 1, 'Dive computer', 1, 0),
  (1003, 2, 'Fins', 2, 5),
  (1004, 1, 'Wet suit', 3, 10),
  (1004, 2, 'Regulator', 3, 0),
  (1005, 1, 'Mask', 4, 0),
  (1006, 1, 'Underwater camera', 2, 15),
  (1006, 2, 'Dive light', 6, 0),
  (1007, 1, 'Buoyancy compensator', 2, 0),
  (1008, 1, 'Snorkel', 10, 20);
